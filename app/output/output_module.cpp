// The output subsystem: file output, button images, the output preview, the
// output transform and the clipboard. Its parts list their sources in
// file_output.cmake and transform_clipboard.cmake.
namespace vakuro {}
