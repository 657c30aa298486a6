#include "output_size_dialog.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QScreen>
#include <QVBoxLayout>

#include <algorithm>
#include <climits>

#include "output_messages.h"
#include "program_state.h"
#include "shared_routines.h"
#include "window_theme.h"

namespace vakuro {

int scaledSide(int a, int b, int c) {
    if (c == 0) return 0;
    const long long v = static_cast<long long>(a) * b / c;  // truncates towards zero
    return static_cast<int>(std::clamp<long long>(v, INT_MIN, INT_MAX));
}

OutputSizeDialog::OutputSizeDialog(ProgramState& state, QSize size, QSize holder, QWidget* owner)
    : QDialog(owner), state_(state), size_(size), holder_(holder) {
    setObjectName(QStringLiteral("Form074"));
    setWindowTitle(QStringLiteral("出力サイズ"));
    setModal(true);

    auto* widthLabel = new QLabel(QStringLiteral("幅"), this);
    widthLabel->setObjectName(QStringLiteral("Label1"));
    auto* heightLabel = new QLabel(QStringLiteral("高さ"), this);
    heightLabel->setObjectName(QStringLiteral("Label2"));
    width_ = new QLineEdit(QString::number(size.width()), this);
    width_->setObjectName(QStringLiteral("Text1"));
    height_ = new QLineEdit(QString::number(size.height()), this);
    height_->setObjectName(QStringLiteral("Text2"));
    // Digits only, also when text is pasted.
    for (QLineEdit* box : {width_, height_}) {
        box->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), box));
        box->setMaxLength(9);
        box->installEventFilter(this);
    }
    ok_ = new QPushButton(QStringLiteral("OK"), this);
    ok_->setObjectName(QStringLiteral("Command1"));
    ok_->setDefault(true);
    cancel_ = new QPushButton(QStringLiteral("ｷｬﾝｾﾙ"), this);
    cancel_->setObjectName(QStringLiteral("Command2"));

    auto* grid = new QGridLayout;
    grid->addWidget(widthLabel, 0, 0);
    grid->addWidget(width_, 0, 1);
    grid->addWidget(new QLabel(QStringLiteral("ﾋﾟｸｾﾙ"), this), 0, 2);
    grid->addWidget(heightLabel, 1, 0);
    grid->addWidget(height_, 1, 1);
    grid->addWidget(new QLabel(QStringLiteral("ﾋﾟｸｾﾙ"), this), 1, 2);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok_);
    buttons->addWidget(cancel_);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addLayout(buttons);

    // Only the box the user edits acts (textEdited is not emitted for the
    // program's own changes), so the other box does not change it back.
    connect(width_, &QLineEdit::textEdited, this, [this](const QString& text) {
        height_->setText(QString::number(scaledSide(holder_.height(), ParseInt(text), holder_.width())));
    });
    connect(height_, &QLineEdit::textEdited, this, [this](const QString& text) {
        width_->setText(QString::number(scaledSide(holder_.width(), ParseInt(text), holder_.height())));
    });
    connect(ok_, &QPushButton::clicked, this, &OutputSizeDialog::Ok);
    connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);

    adjustSize();
    if (const QScreen* screen = this->screen()) {
        move(screen->availableGeometry().center() - QPoint(width() / 2, height() / 2));
    }
    PaintWindowBackground(this, state_.settingsPath());
}

void OutputSizeDialog::Ok() {
    if (width_->text().isEmpty() || height_->text().isEmpty()) return;
    const int w = ParseInt(width_->text());
    const int h = ParseInt(height_->text());
    const char* problem = nullptr;
    if (h > 300) problem = "出力サイズが大きすぎます。";
    else if (h < 20) problem = "出力サイズが小さすぎます。";
    else if (w > 999) problem = "出力サイズが大きすぎます。";
    else if (w < 20) problem = "出力サイズが小さすぎます。";
    if (problem) {
        OutputMessage m;
        m.icon = QMessageBox::Information;
        m.title = QStringLiteral("サイズエラー");
        m.text = QString::fromUtf8(problem);
        showOutputMessage(m, this);
        return;
    }
    size_ = QSize(w, h);
    accept();
}

bool OutputSizeDialog::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress && (watched == width_ || watched == height_)) {
        auto* key = static_cast<QKeyEvent*>(event);
        const QString typed = key->text();
        if (!typed.isEmpty() && key->key() < 0x01000000) {
            for (const QChar c : typed) {
                if (FilterKey(c.unicode(), 1) == 0) return true;
            }
        }
    }
    return QDialog::eventFilter(watched, event);
}

void OutputSizeDialog::mousePressEvent(QMouseEvent* event) {
    update();
    state_.refreshMainWindow();
    QDialog::mousePressEvent(event);
}

}  // namespace vakuro
