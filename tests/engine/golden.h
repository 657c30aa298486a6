// Comparing rendered BMP files with approved golden images.
#pragma once

#include <string>

// Compares the BMP at actualPath with golden/<name>.bmp, byte for byte in
// size and pixels. With UPDATE_GOLDEN=1 in the environment the golden image
// is replaced instead (look at it before committing). On a mismatch the
// actual image and a difference image (red where pixels differ) are written
// to the build folder.
void expectMatchesGolden(const std::string& name, const std::string& actualPath);
