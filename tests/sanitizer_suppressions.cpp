// Leak reports to ignore in the sanitizer build: fontconfig keeps its
// process-wide configuration (a fixed few hundred bytes, whatever the
// number of lookups) until the process ends.
extern "C" __attribute__((visibility("default"), used)) const char* __lsan_default_suppressions() { return "leak:libfontconfig.so\n"; }
