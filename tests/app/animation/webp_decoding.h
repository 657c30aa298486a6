// Animated WebP files read back with libwebp's own decoder, for the tests.
#pragma once

#include <cstdint>
#include <vector>

#include <QFile>
#include <QString>

#include <webp/demux.h>

namespace vakuro::testing {

struct DecodedWebP {
    int width = 0, height = 0, loopCount = -1;
    std::vector<std::vector<uint8_t>> frames;  // RGBA, top-down
    std::vector<int> ends;                     // end time of each frame, ms
};

inline DecodedWebP decodeWebP(const QString& path) {
    QFile f(path);
    DecodedWebP out;
    if (!f.open(QIODevice::ReadOnly)) return out;
    const QByteArray bytes = f.readAll();
    WebPData data{reinterpret_cast<const uint8_t*>(bytes.constData()), size_t(bytes.size())};
    WebPAnimDecoderOptions options;
    WebPAnimDecoderOptionsInit(&options);
    options.color_mode = MODE_RGBA;
    WebPAnimDecoder* dec = WebPAnimDecoderNew(&data, &options);
    if (dec == nullptr) return out;
    WebPAnimInfo info;
    WebPAnimDecoderGetInfo(dec, &info);
    out.width = int(info.canvas_width);
    out.height = int(info.canvas_height);
    out.loopCount = int(info.loop_count);
    while (WebPAnimDecoderHasMoreFrames(dec)) {
        uint8_t* buf = nullptr;
        int end = 0;
        if (!WebPAnimDecoderGetNext(dec, &buf, &end)) break;
        out.frames.emplace_back(buf, buf + size_t(out.width) * out.height * 4);
        out.ends.push_back(end);
    }
    WebPAnimDecoderDelete(dec);
    return out;
}

}  // namespace vakuro::testing
