#include "free_move_dialog.h"

#include <algorithm>

#include <QFile>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QScrollBar>
#include <QVBoxLayout>

#include "bmp_file.h"
#include "detail_dialogs.h"
#include "dib_image.h"
#include "generators/picture_painting.h"
#include "program_paths.h"
#include "program_state.h"
#include "shared_routines.h"
#include "animation_add_dialog.h"
#include "window_position.h"
#include "window_theme.h"

namespace vakuro {

namespace {

struct QuantityInfo {
    const char* caption;
    int minimum, maximum, largeStep;
    const char* unit;
    int startSlot, endSlot;
};

const QuantityInfo kQuantities[FreeMoveDialog::QuantityCount] = {
    {"X位置", -100, 100, 10, "%", slot::MoveStartX, slot::MoveEndX},
    {"Y位置", -100, 100, 10, "%", slot::MoveStartY, slot::MoveEndY},
    {"Xｻｲｽﾞ", 10, 300, 10, "%", slot::MoveStartWidth, slot::MoveEndWidth},
    {"Yｻｲｽﾞ", 10, 300, 10, "%", slot::MoveStartHeight, slot::MoveEndHeight},
    {"回転", -360, 360, 15, "ﾟ", slot::MoveStartAngle, slot::MoveEndAngle},
    {"透過率", 0, 100, 10, "%", slot::MoveStartTransparency, slot::MoveEndTransparency},
};

int slotOf(int s, int q) { return s == 0 ? kQuantities[q].startSlot : kQuantities[q].endSlot; }

// The preview area: the four black guide lines that mark the middle cell,
// where the sample sits at zero offset and 100 % size.
class PreviewArea : public QWidget {
public:
    explicit PreviewArea(QWidget* parent) : QWidget(parent) {
        setFixedSize(FreeMoveDialog::kAreaWidth, FreeMoveDialog::kAreaHeight);
        setAutoFillBackground(true);
        QPalette p = palette();
        p.setColor(QPalette::Window, Qt::white);
        setPalette(p);
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.setPen(Qt::black);
        painter.drawLine(0, 25, 239, 25);
        painter.drawLine(0, 49, 239, 49);
        painter.drawLine(80, 0, 80, 75);
        painter.drawLine(159, 0, 159, 75);
    }
};

}  // namespace

QImage FreeMoveDialog::samplePicture() {
    // The add dialog's sample of the plain text (160 x 60), its middle 50
    // rows halved.
    const QImage sample(animationSamplePath(1));
    if (sample.isNull()) {
        QImage plain(kSampleWidth, kSampleHeight, QImage::Format_RGB32);
        plain.fill(qRgb(20, 30, 80));
        return plain;
    }
    return sample.copy(0, (sample.height() - 2 * kSampleHeight) / 2, 2 * kSampleWidth, 2 * kSampleHeight)
        .scaled(kSampleWidth, kSampleHeight, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
        .convertToFormat(QImage::Format_RGB32);
}

FreeMoveDialog::FreeMoveDialog(ProgramState& state, const ScheduleEntry& entry, QWidget* owner)
    : QDialog(owner), state_(state) {
    setObjectName(QStringLiteral("Form076"));
    setWindowTitle(QStringLiteral("ｱﾆﾒｰｼｮﾝ詳細設定"));
    setModal(true);

    auto* frames = new QHBoxLayout;
    for (int s = 0; s < kStates; ++s) {
        auto* frame = new QGroupBox(s == 0 ? QStringLiteral("開始位置") : QStringLiteral("終了位置"), this);
        frame->setObjectName(QStringLiteral("Frame%1").arg(s + 1));
        auto* grid = new QGridLayout;
        for (int q = 0; q < QuantityCount; ++q) {
            const QuantityInfo& info = kQuantities[q];
            const int number = s * QuantityCount + q + 1;
            auto* caption = new QLabel(QString::fromUtf8(info.caption), frame);
            caption->setObjectName(QStringLiteral("Label%1").arg(number + 2 * QuantityCount));
            auto* bar = new QScrollBar(Qt::Horizontal, frame);
            bar->setObjectName(QStringLiteral("HScroll%1").arg(number));
            bar->setRange(info.minimum, info.maximum);
            bar->setSingleStep(1);
            bar->setPageStep(info.largeStep);
            bar->setMinimumWidth(160);
            auto* value = new QLabel(frame);
            value->setObjectName(QStringLiteral("Label%1").arg(number));
            value->setMinimumWidth(44);
            value->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
            grid->addWidget(caption, q, 0);
            grid->addWidget(bar, q, 1);
            grid->addWidget(value, q, 2);
            bars_[s][q] = bar;
            values_[s][q] = value;
        }
        auto* area = new PreviewArea(frame);
        area->setObjectName(QStringLiteral("Picture%1").arg(s + 1));
        auto* moved = new QLabel(area);
        moved->setObjectName(QStringLiteral("Picture%1").arg(s + 3));
        moved->setScaledContents(false);
        areas_[s] = area;
        moved_[s] = moved;
        auto* column = new QVBoxLayout(frame);
        column->addLayout(grid);
        column->addWidget(area, 0, Qt::AlignHCenter);
        frames->addWidget(frame);
    }
    ok_ = new QPushButton(QStringLiteral("OK"), this);
    ok_->setObjectName(QStringLiteral("Command1"));
    ok_->setDefault(true);
    cancel_ = new QPushButton(QStringLiteral("ｷｬﾝｾﾙ"), this);
    cancel_->setObjectName(QStringLiteral("Command2"));
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok_);
    buttons->addWidget(cancel_);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(frames);
    layout->addLayout(buttons);

    // The entry's values, brought into the bars' ranges.
    for (int s = 0; s < kStates; ++s) {
        for (int q = 0; q < QuantityCount; ++q) {
            const QuantityInfo& info = kQuantities[q];
            bars_[s][q]->setValue(std::clamp(entry[slotOf(s, q)], info.minimum, info.maximum));
            showValue(s, static_cast<Quantity>(q));
            // Every change, also while the thumb is dragged, shows at once.
            connect(bars_[s][q], &QScrollBar::valueChanged, this, [this, s, q] {
                showValue(s, static_cast<Quantity>(q));
                fMovePic(s);
            });
        }
    }
    connect(ok_, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);
    for (int s = 0; s < kStates; ++s) fMovePic(s);
    adjustSize();
    PaintWindowBackground(this, state_.settingsPath());
}

void FreeMoveDialog::showValue(int s, Quantity q) {
    values_[s][q]->setText(QString::number(bars_[s][q]->value()) + QString::fromUtf8(kQuantities[q].unit));
}

void FreeMoveDialog::fMovePic(int s) {
    if (s < 0 || s >= kStates) return;
    const int x = bars_[s][X]->value(), y = bars_[s][Y]->value();
    const int xSize = bars_[s][Width]->value(), ySize = bars_[s][Height]->value();
    const int angle = bars_[s][Angle]->value();
    const QByteArray path = QFile::encodeName(TempFolder() + QStringLiteral("FMoveT.bmp"));
    const int pw = std::max(RoundHalfEven(xSize * 80 / 100.0 - 2), 1);
    const int ph = std::max(RoundHalfEven(ySize * 25 / 100.0 - 2), 1);
    const QImage sample = samplePicture();
    const std::vector<uint8_t> bits = ReadPictureBits(sample);
    const auto& fx = state_.libraries().effects;
    int rw = pw, rh = ph;
    QImage moved;
    if (bmp::writeBmp(path.constData(), bmp::makeHeader24(sample.width(), sample.height()), {}, bits) &&
        fx.SReSize(path.constData(), path.constData(), pw, ph, 2) == 1) {
        const int turned = fx.RotAng(path.constData(), path.constData(), &rw, &rh,
                                     static_cast<float>(angle * 3.14159265 / 180));
        if (turned != 1 && turned != 0) rw = pw, rh = ph;
        moved = readPicture(path);
    }
    QLabel* label = moved_[s];
    if (moved.isNull()) {
        label->hide();
        return;
    }
    label->setPixmap(QPixmap::fromImage(moved));
    label->resize(moved.size());
    const double left = x * 80 / 100.0 + 80 - xSize * 40 / 100.0 + 40 + (pw - rw) * 0.5;
    const double top = y * 25 / 100.0 + 25 - ySize * 12.5 / 100 + 12.5 + (ph - rh) * 0.5;
    label->move(RoundHalfEven(left), RoundHalfEven(top));
    label->show();
}

void FreeMoveDialog::writeInto(ScheduleEntry& entry) const {
    for (int s = 0; s < kStates; ++s)
        for (int q = 0; q < QuantityCount; ++q) entry[slotOf(s, q)] = bars_[s][q]->value();
}

void FreeMoveDialog::done(int result) {
    StoreWindowPosition(this, state_.settingsPath(), QStringLiteral("076"));
    QDialog::done(result);
}

bool showFreeMoveDialog(ProgramState& state, QWidget* owner, ScheduleEntry& entry) {
    FreeMoveDialog dialog(state, entry, owner);
    RestoreWindowPosition(&dialog, state.settingsPath(), QStringLiteral("076"), true);
    if (dialog.exec() != QDialog::Accepted) return false;
    dialog.writeInto(entry);
    return true;
}

}  // namespace vakuro
