#include "splash_tables.h"

#include <cstring>

namespace vakuro {

void SetDiz(EffectState& effects, int D, const char* order) {
    if (D < 1 || D > 4 || order == nullptr) return;
    const size_t length = std::strlen(order);
    for (int r = 0; r < D; ++r) {
        for (int c = 0; c < D; ++c) {
            const size_t at = static_cast<size_t>(3 * (D * r + c));  // 0-based place of the two digits
            float& cell = effects.splashDelay[static_cast<size_t>(D)][static_cast<size_t>(r)][static_cast<size_t>(c)];
            if (at + 2 > length) {
                cell = 0;
                continue;
            }
            const int k = (order[at] - '0') * 10 + (order[at + 1] - '0');
            cell = 0.1f + static_cast<float>(k) * 0.4f / static_cast<float>(D);
        }
    }
}

void buildSplashTables(EffectState& effects) {
    effects.splashDelay[1][0][0] = 0.4f;
    SetDiz(effects, 2, "01-03-02-04");
    SetDiz(effects, 3, "02-05-08-07-01-03-04-09-06");
    SetDiz(effects, 4, "08-05-15-02-13-01-11-06-04-07-16-09-10-12-03-14");
}

}  // namespace vakuro
