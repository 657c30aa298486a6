// Comparing rendered BMP files with approved golden images.
#pragma once

#include <string>

// Compares the BMP at actualPath with golden/<name>.bmp, byte for byte in
// size and pixels. With UPDATE_GOLDEN=1 in the environment the golden image
// is replaced instead, and a line on standard output names it as written
// new, rewritten or unchanged (look at every written one before
// committing; tests/engine/README.md says how an image is approved). On a mismatch the
// actual image and a difference image (red where pixels differ) are written
// to the build folder.
void expectMatchesGolden(const std::string& name, const std::string& actualPath);
