// What every program benchmark of the app sets up first, and the median it
// reports.
#pragma once

#include <algorithm>
#include <vector>

#include <QTemporaryDir>

namespace vakuro {

// The offscreen platform and a data folder and temporary folder of the
// run's own, so that a benchmark neither reads nor leaves the user's files.
// Made before the application object.
struct BenchEnvironment {
    QTemporaryDir home;
    QTemporaryDir temp;
    BenchEnvironment() {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        qputenv("VAKURO_HOME", home.path().toLocal8Bit());
        qputenv("TMPDIR", temp.path().toLocal8Bit());
    }
};

// The median of the runs (the upper one of an even count).
inline double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

}  // namespace vakuro
