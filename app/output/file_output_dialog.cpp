#include "file_output_dialog.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QScrollBar>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>
#include <vector>

#include "alpha_image.h"
#include "bmp_file.h"
#include "button_painter.h"
#include "cp932_qstring.h"
#include "colour_swatch.h"
#include "dib_image.h"
#include "output_preview_window.h"
#include "output_messages.h"
#include "output_transform.h"
#include "program_paths.h"
#include "dialog_labels.h"
#include "program_state.h"
#include "settings_keys.h"
#include "shared_routines.h"
#include "window_position.h"
#include "window_theme.h"

namespace vakuro {
namespace {

namespace keys = settings;

const QString kWindowNumber = QStringLiteral("030");
const QStringList kFormats = {QStringLiteral("BMP"), QStringLiteral("GIF"), QStringLiteral("JPG"), QStringLiteral("PNG")};
enum Format { FormatBmp = 0, FormatGif = 1, FormatJpg = 2, FormatPng = 3 };

QCheckBox* newCheck(const QString& name, const QString& text, QWidget* parent) {
    auto* c = new QCheckBox(text, parent);
    c->setObjectName(name);
    return c;
}

QComboBox* newCombo(const QString& name, const QStringList& items, QWidget* parent) {
    auto* c = new QComboBox(parent);
    c->setObjectName(name);
    c->addItems(items);
    return c;
}

QLineEdit* newField(const QString& name, int maxLength, QWidget* parent) {
    auto* f = new QLineEdit(parent);
    f->setObjectName(name);
    f->setMaxLength(maxLength);
    return f;
}

QPushButton* newButton(const QString& name, const QString& text, QWidget* parent) {
    auto* b = new QPushButton(text, parent);
    b->setObjectName(name);
    b->setAutoDefault(false);
    return b;
}

int readInt(const QString& ini, const keys::IntKey& key) {
    return IniReadInt(ini, QString::fromLatin1(key.section), QString::fromLatin1(key.key), key.defaultValue);
}

void setChecked(QCheckBox* box, int value) { box->setChecked(value != 0); }

void setIndex(QComboBox* list, int index) {
    list->setCurrentIndex(index >= 0 && index < list->count() ? index : 0);
}

// The matte GIF: the picture flattened onto the matte, reduced to 256
// colours, with the palette entry of its first mostly transparent pixel (if
// any) as the transparent colour.
bool writeMatteGif(const ImageFormatLibrary& formats, const QImage& rgba, int matte, const QByteArray& outPath) {
    const QImage flat = flattenOnMatte(rgba, matte);
    const QString file = TempFolder() + QStringLiteral("VakMatte.bmp");
    const QByteArray path = QFile::encodeName(file);
    if (!bmp::writeBmp(path.constData(), bmp::makeHeader24(flat.width(), flat.height()), {}, ReadPictureBits(flat)))
        return false;
    const int handle = formats.ToDIB(path.constData());
    if (handle == 0) return false;
    formats.DIBto8Bit(handle, 0, 0);
    GifOptions options{};
    const QImage in = rgba.convertToFormat(QImage::Format_RGBA8888);
    bool found = false;
    for (int y = 0; y < in.height() && !found; ++y) {
        const uchar* row = in.constScanLine(y);
        for (int x = 0; x < in.width(); ++x) {
            if (row[4 * x + 3] < 128) {
                options.flags = IMGCTL_TRANSPARENT;
                options.transparentIndex = formats.PixelDIB(handle, x, y);
                found = true;
                break;
            }
        }
    }
    const bool written = formats.DIBtoGIFex(outPath.constData(), handle, &options) == IMGCTL_OK;
    formats.DeleteDIB(handle);
    return written;
}


// Puts a text into a size field. A text longer than the field (a computed
// size, or a stored one from a damaged settings file) is not cut to its
// first digits: its number is clamped to the largest the field holds, so
// the size checks see a size at least as large as the computed one.
void putField(QLineEdit* field, const QString& text) {
    if (text.size() <= field->maxLength()) {
        field->setText(text);
        return;
    }
    qint64 largest = 1;
    for (int i = 0; i < field->maxLength() && largest < 1000000000; ++i) largest *= 10;
    field->setText(QString::number(std::clamp<qint64>(ParseInt(text), 0, largest - 1)));
}

void putField(QLineEdit* field, qint64 value) { putField(field, QString::number(value)); }

OutputMessage information(const QString& text) {
    OutputMessage m;
    m.icon = QMessageBox::Information;
    m.text = text;
    return m;
}

// Keeps outline colour 1 apart from the background: an equal colour would
// count as button face for the shading and the transparency.
int apartFromBackground(int colour, int background) {
    if (colour != background) return colour;
    const int red = colour & 0xFF;
    return (colour & ~0xFF) | (red == 0 ? 1 : red - 1);
}

}  // namespace

FileOutputDialog::FileOutputDialog(ProgramState& state, QWidget* owner) : QDialog(owner), state_(state) {
    setObjectName(QStringLiteral("Form030"));
    setWindowTitle(QStringLiteral("ファイル出力"));
    setModal(true);
    build();
}

void FileOutputDialog::build() {
    auto* top = new QVBoxLayout(this);

    label2_ = caption(QStringLiteral("ファイル出力"), QStringLiteral("Label2"), this);
    QFont heading = label2_->font();
    heading.setPointSize(heading.pointSize() + 4);
    heading.setBold(true);
    label2_->setFont(heading);
    label3_ = caption(QStringLiteral("テキスト画像をファイルに出力します"), QStringLiteral("Label3"), this);
    top->addWidget(label2_);
    top->addWidget(label3_);

    auto* fileRow = new QHBoxLayout;
    fileRow->addWidget(caption(QStringLiteral("ファイル名"), QStringLiteral("Label1"), this));
    text1_ = newField(QStringLiteral("Text1"), 32767, this);
    text1_->setMinimumWidth(280);
    fileRow->addWidget(text1_, 1);
    command3_ = newButton(QStringLiteral("Command3"), QStringLiteral("選択"), this);
    fileRow->addWidget(command3_);
    top->addLayout(fileRow);

    auto* grid = new QGridLayout;
    grid->addWidget(caption(QStringLiteral("形式"), QStringLiteral("Label4"), this), 0, 0);
    combo1_ = newCombo(QStringLiteral("Combo1"), kFormats, this);
    grid->addWidget(combo1_, 0, 1);
    grid->addWidget(caption(QStringLiteral("幅"), QStringLiteral("Label5"), this), 1, 0);
    text2_ = newField(QStringLiteral("Text2"), 4, this);
    grid->addWidget(text2_, 1, 1);
    grid->addWidget(caption(QStringLiteral("高さ"), QStringLiteral("Label6"), this), 1, 2);
    text3_ = newField(QStringLiteral("Text3"), 4, this);
    grid->addWidget(text3_, 1, 3);
    check1_ = newCheck(QStringLiteral("Check1"), QStringLiteral("縦横比固定"), this);
    check2_ = newCheck(QStringLiteral("Check2"), QStringLiteral("ｽﾑｰｼﾞﾝｸﾞ"), this);
    check3_ = newCheck(QStringLiteral("Check3"), QStringLiteral("背景透過"), this);
    grid->addWidget(check1_, 2, 0, 1, 2);
    grid->addWidget(check2_, 2, 2, 1, 1);
    grid->addWidget(check3_, 2, 3, 1, 1);
    // The GIF's matte: the colour of the page the picture will sit on.
    check6_ = newCheck(QStringLiteral("Check6"), QStringLiteral("マット色"), this);
    picture7_ = new ColourSwatch(this);
    picture7_->setObjectName(QStringLiteral("Picture7"));
    picture7_->setFixedSize(32, 20);
    picture7_->setToolTip(QStringLiteral("GIFを置くページの色。縁の半透明部分をこの色に合成します"));
    grid->addWidget(check6_, 5, 0, 1, 2);
    grid->addWidget(picture7_, 5, 2);
    label17_ = caption(QStringLiteral("変形"), QStringLiteral("Label17"), this);
    picture6_ = caption(QString(), QStringLiteral("Picture6"), this);
    picture6_->setFixedSize(120, 40);
    picture6_->setAlignment(Qt::AlignCenter);
    command4_ = newButton(QStringLiteral("Command4"), QStringLiteral("選択"), this);
    grid->addWidget(label17_, 3, 0);
    grid->addWidget(picture6_, 3, 1, 1, 2);
    grid->addWidget(command4_, 3, 3);
    label18_ = caption(QString(), QStringLiteral("Label18"), this);
    grid->addWidget(label18_, 4, 0, 1, 4);
    top->addLayout(grid);

    auto* frame = new QGroupBox(this);
    frame->setObjectName(QStringLiteral("Frame1"));
    auto* bgrid = new QGridLayout(frame);
    check4_ = newCheck(QStringLiteral("Check4"), QStringLiteral("ボタン効果"), frame);
    bgrid->addWidget(check4_, 0, 0, 1, 2);
    label8_ = caption(QStringLiteral("サイズ"), QStringLiteral("Label8"), frame);
    text4_ = newField(QStringLiteral("Text4"), 3, frame);
    timesLabel_ = caption(QStringLiteral("×"), QStringLiteral("Label9"), frame);
    text5_ = newField(QStringLiteral("Text5"), 3, frame);
    bgrid->addWidget(label8_, 1, 0);
    bgrid->addWidget(text4_, 1, 1);
    bgrid->addWidget(timesLabel_, 1, 2);
    bgrid->addWidget(text5_, 1, 3);
    shapeLabel_ = caption(QStringLiteral("タイプ"), QStringLiteral("Label10"), frame);
    combo4_ = newCombo(QStringLiteral("Combo4"),
                       {QStringLiteral("角ﾎﾞﾀﾝ"), QStringLiteral("丸ﾎﾞﾀﾝ"), QStringLiteral("菱形"), QStringLiteral("六角")},
                       frame);
    bgrid->addWidget(shapeLabel_, 2, 0);
    bgrid->addWidget(combo4_, 2, 1, 1, 3);
    shadingLabel_ = caption(QStringLiteral("立体効果"), QStringLiteral("Label11"), frame);
    combo3_ = newCombo(QStringLiteral("Combo3"),
                       {QStringLiteral("なし"), QStringLiteral("立体Lv1（弱）"), QStringLiteral("立体Lv2"),
                        QStringLiteral("立体Lv3"), QStringLiteral("立体Lv4"), QStringLiteral("立体Lv5（強）")},
                       frame);
    bgrid->addWidget(shadingLabel_, 3, 0);
    bgrid->addWidget(combo3_, 3, 1, 1, 3);
    outlineLabel_ = caption(QStringLiteral("輪郭ﾀｲﾌﾟ"), QStringLiteral("Label12"), frame);
    combo2_ = newCombo(QStringLiteral("Combo2"),
                       {QStringLiteral("（なし）"), QStringLiteral("凸輪郭"), QStringLiteral("凹輪郭"),
                        QStringLiteral("ベタ枠"), QStringLiteral("ﾊﾟｲﾌﾟ枠")},
                       frame);
    bgrid->addWidget(outlineLabel_, 4, 0);
    bgrid->addWidget(combo2_, 4, 1, 1, 3);
    colourLabel_ = caption(QStringLiteral("輪郭色"), QStringLiteral("Label13"), frame);
    picture3_ = new ColourSwatch(frame);
    picture3_->setObjectName(QStringLiteral("Picture3"));
    picture4_ = new ColourSwatch(frame);
    picture4_->setObjectName(QStringLiteral("Picture4"));
    for (auto* sw : {picture3_, picture4_}) sw->setFixedSize(32, 20);
    bgrid->addWidget(colourLabel_, 5, 0);
    bgrid->addWidget(picture3_, 5, 1);
    bgrid->addWidget(picture4_, 5, 2);
    outsideLabel_ = caption(QStringLiteral("枠外色"), QStringLiteral("Label16"), frame);
    picture5_ = new ColourSwatch(frame);
    picture5_->setObjectName(QStringLiteral("Picture5"));
    picture5_->setFixedSize(32, 20);
    bgrid->addWidget(outsideLabel_, 6, 0);
    bgrid->addWidget(picture5_, 6, 1);
    widthLabel_ = caption(QStringLiteral("輪郭幅"), QStringLiteral("Label14"), frame);
    hscroll1_ = new QScrollBar(Qt::Horizontal, frame);
    hscroll1_->setObjectName(QStringLiteral("HScroll1"));
    hscroll1_->setRange(1, 10);
    hscroll1_->setPageStep(1);
    label15_ = caption(QString(), QStringLiteral("Label15"), frame);
    bgrid->addWidget(widthLabel_, 7, 0);
    bgrid->addWidget(hscroll1_, 7, 1, 1, 2);
    bgrid->addWidget(label15_, 7, 3);
    check5_ = newCheck(QStringLiteral("Check5"), QStringLiteral("ｾﾝﾀﾘﾝｸﾞ補正"), frame);
    bgrid->addWidget(check5_, 8, 0, 1, 4);
    top->addWidget(frame);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    command1_ = newButton(QStringLiteral("Command1"), QStringLiteral("出力"), this);
    command2_ = newButton(QStringLiteral("Command2"), QStringLiteral("ｷｬﾝｾﾙ"), this);
    buttons->addWidget(command1_);
    buttons->addWidget(command2_);
    top->addLayout(buttons);

    buttonControls_ = {label8_, text4_, timesLabel_, text5_, shapeLabel_, combo4_, shadingLabel_, combo3_,
                       outlineLabel_, combo2_, colourLabel_, picture3_, picture4_, outsideLabel_, picture5_,
                       widthLabel_, hscroll1_, label15_, check5_};

    for (QLineEdit* f : {text2_, text3_, text4_, text5_}) f->installEventFilter(this);
    label8_->installEventFilter(this);
    label2_->installEventFilter(this);
    label3_->installEventFilter(this);

    connect(combo1_, &QComboBox::currentIndexChanged, this, &FileOutputDialog::formatChanged);
    connect(check3_, &QCheckBox::toggled, this, [this] { applyMatteRules(); });
    connect(check6_, &QCheckBox::toggled, this, [this] { applyMatteRules(); });
    connect(text2_, &QLineEdit::textChanged, this, &FileOutputDialog::widthChanged);
    connect(text3_, &QLineEdit::textChanged, this, &FileOutputDialog::heightChanged);
    for (QLineEdit* f : {text4_, text5_}) {
        connect(f, &QLineEdit::textChanged, this, [f] {
            const int v = Clamp(ParseInt(f->text()), 0, 9999);
            if (!f->text().isEmpty() && f->text() != QString::number(v)) f->setText(QString::number(v));
        });
    }
    connect(check1_, &QCheckBox::toggled, this, [this](bool on) {
        if (on && !loading_) heightChanged();
    });
    connect(check4_, &QCheckBox::toggled, this, [this](bool on) {
        applyButtonRules();
        // Switching button mode on limits the height field to the button height.
        if (on && !loading_) {
            const int bh = fieldValue(text5_);
            if (fieldValue(text3_) > bh) text3_->setText(QString::number(bh));
        }
    });
    connect(combo4_, &QComboBox::currentIndexChanged, this, [this] { applyButtonRules(); });
    connect(combo2_, &QComboBox::currentIndexChanged, this, [this] { applyButtonRules(); });
    connect(hscroll1_, &QScrollBar::valueChanged, this, [this](int v) { label15_->setText(QString::number(v)); });
    connect(command1_, &QPushButton::clicked, this, [this] { runOutput(); });
    connect(command2_, &QPushButton::clicked, this, [this] {
        saveSet();
        reject();
    });
    connect(command3_, &QPushButton::clicked, this, &FileOutputDialog::chooseFile);
    connect(command4_, &QPushButton::clicked, this, &FileOutputDialog::chooseTransform);
}

int FileOutputDialog::fieldValue(const QLineEdit* field) const { return ParseInt(field->text()); }

int FileOutputDialog::currentWidth() const {
    return state_.host != nullptr ? state_.host->renderSize().width() : 0;
}

int FileOutputDialog::currentHeight() const {
    return state_.host != nullptr ? state_.host->renderSize().height() : 0;
}

QWidget* FileOutputDialog::messageOwner() { return this; }

void FileOutputDialog::load() {
    const QString& ini = state_.settingsPath();
    loading_ = true;
    // 1. Position and theme (a window that is never shown has neither).
    if (!commandLine_) {
        adjustSize();
        RestoreWindowPosition(this, ini, kWindowNumber, true);
        PaintWindowBackground(this, ini);
    }
    // 2. The current image matches the current style.
    state_.draw();
    // 3. Width and height of the current image.
    const int wi = currentWidth();
    const int hi = currentHeight();
    sizeGuard_ = true;
    putField(text2_, wi);
    putField(text3_, hi);
    sizeGuard_ = false;
    // 4. Check boxes, button fields, lists, swatches, width bar.
    setChecked(check1_, readInt(ini, keys::kFileOutRateFlg));
    setChecked(check2_, readInt(ini, keys::kFileOutSmooth));
    setChecked(check3_, readInt(ini, keys::kFileOutTransBack));
    setChecked(check4_, readInt(ini, keys::kFileOutButton));
    setChecked(check5_, readInt(ini, keys::kFileOutButtonCenter));
    setChecked(check6_, readInt(ini, keys::kFileOutMatte));
    picture7_->setColour(readInt(ini, keys::kFileOutMatteColor));
    putField(text4_, readInt(ini, keys::kFileOutButtonWid));
    putField(text5_, readInt(ini, keys::kFileOutButtonHi));
    setIndex(combo4_, readInt(ini, keys::kFileOutButtonEffectMode));
    setIndex(combo3_, readInt(ini, keys::kFileOutButtonGrad));
    setIndex(combo2_, readInt(ini, keys::kFileOutButtonEffect));
    picture3_->setColour(readInt(ini, keys::kFileOutButtonWakuColor1));
    picture4_->setColour(readInt(ini, keys::kFileOutButtonWakuColor2));
    picture5_->setColour(readInt(ini, keys::kFileOutButtonBackColor));
    hscroll1_->setValue(Clamp(readInt(ini, keys::kFileOutButtonWakuWid), 1, 10));
    label15_->setText(QString::number(hscroll1_->value()));
    // 5. Transform icon (nothing to show on the command line).
    if (!commandLine_) showTransformIcon();
    // 6. Button rules.
    applyButtonRules();
    loading_ = false;
    // 7. Size restore.
    const QString section = QString::fromLatin1(keys::kSetting);
    if (wi > hi) {
        putField(text3_, IniRead(ini, section, QString::fromLatin1(keys::kFileOutTextBaseSize), text3_->text()));
    } else {
        putField(text2_, IniRead(ini, section, QString::fromLatin1(keys::kFileOutTextBaseSize), text2_->text()));
    }
    if (!check1_->isChecked()) {
        putField(text2_, IniRead(ini, section, QString::fromLatin1(keys::kFileOutTextW), text2_->text()));
        putField(text3_, IniRead(ini, section, QString::fromLatin1(keys::kFileOutTextH), text3_->text()));
    }
    calcTranSize();
    // 8. Format.
    const int format = Clamp(readInt(ini, keys::kFileOutFileFormat), 0, FormatPng);
    {
        QSignalBlocker block(combo1_);
        combo1_->setCurrentIndex(format);
    }
    // 9. File name with automatic numbering.
    const QString stored = IniRead(ini, section, QString::fromLatin1(keys::kFileOutName),
                                   DataFolder() + QString::fromLatin1(keys::kFileOutNameDefaultFile));
    text1_->setText(numberedName(stored, QLatin1Char('.') + kFormats[format]));
    // 10. The format-change rule once.
    formatChanged(format);
}

QString FileOutputDialog::numberedName(const QString& path, const QString& extension) {
    const int p = path.indexOf(QLatin1Char('_'));
    if (p < 0 || path.size() != p + 8) return path;
    const QString stem = path.left(p + 1);
    const QFileInfo info(stem);
    const QDir folder = info.dir();
    const QString base = info.fileName();
    for (int n = 0; n <= 999; ++n) {
        const QString number = QStringLiteral("%1").arg(n, 3, 10, QLatin1Char('0'));
        const QStringList taken =
            folder.entryList({base + number + QStringLiteral(".*")}, QDir::Files | QDir::Dirs | QDir::Hidden |
                                                                       QDir::System | QDir::NoDotAndDotDot);
        if (taken.isEmpty()) return stem + number + extension;
    }
    return stem;
}

QString FileOutputDialog::nameForFormat(const QString& name, int format) {
    const QString e = name.right(4).toUpper();
    static const QString kExt[] = {QStringLiteral(".BMP"), QStringLiteral(".GIF"), QStringLiteral(".JPG"),
                                   QStringLiteral(".PNG")};
    if (format < 0 || format > FormatPng) return name;
    // The three formats of old replace each other's extensions and leave
    // others (".PNG" too) alone; PNG replaces any of the three.
    bool replace = false;
    for (int i = 0; i < FormatPng; ++i)
        if (i != format && e == kExt[i]) replace = true;
    return replace ? name.left(name.size() - 4) + kExt[format] : name;
}

void FileOutputDialog::formatChanged(int index) {
    const QString renamed = nameForFormat(text1_->text(), index);
    if (renamed != text1_->text()) text1_->setText(renamed);
    check3_->setEnabled(index == FormatGif || index == FormatPng);
    applyMatteRules();
}

void FileOutputDialog::applyMatteRules() {
    const bool gif = combo1_->currentIndex() == FormatGif && check3_->isChecked();
    check6_->setEnabled(gif);
    picture7_->setEnabled(gif && check6_->isChecked());
}

void FileOutputDialog::calcTranSize() {
    const int w = fieldValue(text2_);
    const int h = fieldValue(text3_);
    const WarpSettings warp = loadWarpSettings(state_.settingsPath());
    transformedHeight_ = warp.type > 0 ? transformHeight(warp, w, h) : h;
    label18_->setText(QStringLiteral("変形後ｻｲｽﾞ = %1 X %2").arg(w).arg(transformedHeight_));
}

void FileOutputDialog::widthChanged() {
    if (sizeGuard_) return;
    sizeGuard_ = true;
    const int w = Clamp(fieldValue(text2_), 0, 9999);
    if (!text2_->text().isEmpty() && text2_->text() != QString::number(w)) text2_->setText(QString::number(w));
    calcTranSize();
    if (check1_->isChecked() && !loading_) {
        const qint64 h = qint64(w) * (currentHeight() + 4) / (currentWidth() + 4);
        putField(text3_, h);
        calcTranSize();
    }
    sizeGuard_ = false;
}

void FileOutputDialog::heightChanged() {
    if (sizeGuard_) return;
    sizeGuard_ = true;
    const int h = Clamp(fieldValue(text3_), 0, 9999);
    if (!text3_->text().isEmpty() && text3_->text() != QString::number(h)) text3_->setText(QString::number(h));
    calcTranSize();
    if (check1_->isChecked() && !loading_) {
        const qint64 w = qint64(h) * (currentWidth() + 4) / (currentHeight() + 4);
        putField(text2_, w);
        calcTranSize();
    }
    sizeGuard_ = false;
}

void FileOutputDialog::applyButtonRules() {
    const bool on = check4_->isChecked();
    for (QWidget* w : buttonControls_) w->setEnabled(on);
    if (!on) return;
    picture4_->setVisible(true);
    const int shape = combo4_->currentIndex();
    picture5_->setEnabled(shape != ShapeSquare);
    outsideLabel_->setEnabled(shape != ShapeSquare);
    const bool outlineAvailable = shape == ShapeSquare || shape == ShapeRound;
    combo2_->setEnabled(outlineAvailable);
    if (!outlineAvailable) {
        for (QWidget* w : {static_cast<QWidget*>(picture3_), static_cast<QWidget*>(picture4_),
                           static_cast<QWidget*>(hscroll1_), static_cast<QWidget*>(label15_)})
            w->setEnabled(false);
    } else {
        const int outline = combo2_->currentIndex();
        hscroll1_->setEnabled(outline != OutlineNone);
        label15_->setEnabled(outline != OutlineNone);
        picture3_->setEnabled(outline == OutlineFlat || outline == OutlinePipe);
        picture4_->setEnabled(outline == OutlinePipe);
        picture4_->setVisible(outline == OutlineNone || outline == OutlinePipe);
    }
    outlineLabel_->setEnabled(combo2_->isEnabled());
    colourLabel_->setEnabled(picture3_->isEnabled());
    widthLabel_->setEnabled(hscroll1_->isEnabled());
}

void FileOutputDialog::fitButton(double factor, int minX, int minY, int height) {
    const int w = fieldValue(text2_);
    const int ow = hscroll1_->value();
    putField(text4_, qint64(w) + ow + Clamp(RoundHalfEven(w * factor), minX, 60));
    putField(text5_, qint64(height) + ow + Clamp(RoundHalfEven(height * factor), minY, 60));
}

bool FileOutputDialog::check() {
    const int w = fieldValue(text2_);
    calcTranSize();
    const int h = transformedHeight_;
    if (text1_->text().isEmpty()) return false;
    if (w < 10 || h < 10) {
        showOutputMessage(information(QStringLiteral("出力サイズが小さ過ぎます")), messageOwner());
        return false;
    }
    if (w > 2000 || h > 2000) {
        showOutputMessage(information(QStringLiteral("出力サイズが大き過ぎます")), messageOwner());
        return false;
    }
    if (text1_->text().right(3).toUpper() != combo1_->currentText().right(3)) {
        OutputMessage q;
        q.icon = QMessageBox::Question;
        q.text = QStringLiteral("ファイル形式と拡張子が一致していません\r\n処理を続行しますか？");
        q.buttons = QMessageBox::Yes | QMessageBox::No;
        q.defaultButton = QMessageBox::No;
        if (showOutputMessage(q, messageOwner()) != QMessageBox::Yes) return false;
    }
    if (!check4_->isChecked()) return true;
    const int bw = fieldValue(text4_);
    const int bh = fieldValue(text5_);
    if (bw < 10 || bh < 10) {
        showOutputMessage(information(QStringLiteral("ボタンサイズが小さ過ぎます")), messageOwner());
        return false;
    }
    if (bw < w || bh < h) {
        OutputMessage q;
        q.icon = QMessageBox::Question;
        q.title = QStringLiteral("枠サイズ調整");
        q.text = QStringLiteral("ボタン内にテキストが入りきれません\r\nボタンサイズを自動調整して処理を続行しますか？");
        q.buttons = QMessageBox::Ok | QMessageBox::Cancel;
        q.defaultButton = QMessageBox::Ok;
        // Fitting only enlarges the button: the command line proceeds with it.
        q.defaultIsHarmless = true;
        if (showOutputMessage(q, messageOwner()) != QMessageBox::Ok) return false;
        fitButton(0.1, 4, 2, h);
        // The button fields hold three digits: a text too large for the
        // largest button is refused rather than painted over its edges.
        if (fieldValue(text4_) < w || fieldValue(text5_) < h) {
            showOutputMessage(information(QStringLiteral("ボタン内にテキストが入りきれません")), messageOwner());
            return false;
        }
    }
    return true;
}

void FileOutputDialog::saveSet(const QList<IniEntry>& alsoStore) {
    auto number = [](const keys::IntKey& key, int value) {
        return IniEntry{QString::fromLatin1(key.key), QString::number(value)};
    };
    const QString base = fieldValue(text3_) < fieldValue(text2_) ? text3_->text() : text2_->text();
    // One write of the settings file for all of them.
    QList<IniEntry> entries = {
        {QString::fromLatin1(keys::kFileOutTextW), text2_->text()},
        {QString::fromLatin1(keys::kFileOutTextH), text3_->text()},
        number(keys::kFileOutRateFlg, check1_->isChecked() ? 1 : 0),
        number(keys::kFileOutSmooth, check2_->isChecked() ? 1 : 0),
        number(keys::kFileOutTransBack, check3_->isChecked() ? 1 : 0),
        number(keys::kFileOutFileFormat, combo1_->currentIndex()),
        number(keys::kFileOutButton, check4_->isChecked() ? 1 : 0),
        number(keys::kFileOutButtonWid, fieldValue(text4_)),
        number(keys::kFileOutButtonHi, fieldValue(text5_)),
        number(keys::kFileOutButtonEffectMode, combo4_->currentIndex()),
        number(keys::kFileOutButtonGrad, combo3_->currentIndex()),
        number(keys::kFileOutButtonEffect, combo2_->currentIndex()),
        number(keys::kFileOutButtonWakuColor1, picture3_->colour()),
        number(keys::kFileOutButtonWakuColor2, picture4_->colour()),
        number(keys::kFileOutButtonBackColor, picture5_->colour()),
        number(keys::kFileOutButtonWakuWid, hscroll1_->value()),
        number(keys::kFileOutButtonCenter, check5_->isChecked() ? 1 : 0),
        number(keys::kFileOutMatte, check6_->isChecked() ? 1 : 0),
        number(keys::kFileOutMatteColor, picture7_->colour()),
        {QString::fromLatin1(keys::kFileOutTextBaseSize), base},
    };
    entries += alsoStore;
    IniWriteAll(state_.settingsPath(), QString::fromLatin1(keys::kSetting), entries);
}

bool FileOutputDialog::runOutput() {
    if (!check()) return false;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    struct CursorRestore {
        bool active = true;
        void restore() {
            if (active) QApplication::restoreOverrideCursor();
            active = false;
        }
        ~CursorRestore() { restore(); }
    } cursor;

    const QString& ini = state_.settingsPath();
    saveSet({{QString::fromLatin1(keys::kFileOutName), text1_->text()}});

    int w = fieldValue(text2_);
    int h = fieldValue(text3_);
    int bw = fieldValue(text4_);
    int bh = fieldValue(text5_);
    const bool button = check4_->isChecked();
    const bool smooth = check2_->isChecked();
    const int shape = combo4_->currentIndex();
    const int outline = combo2_->currentIndex();
    const Libraries& libs = state_.libraries();
    const QString temp = TempFolder() + QStringLiteral("VakTmp.bmp");
    const QByteArray tempPath = QFile::encodeName(temp);

    auto fail = [&](const QString& text) {
        cursor.restore();
        showOutputMessage(information(text), messageOwner());
        return false;
    };

    if (state_.host == nullptr) return fail(QStringLiteral("出力する画像がありません"));
    state_.host->prepareTexture();

    const WarpSettings warp = loadWarpSettings(ini);
    int ht = warp.type > 0 ? transformHeight(warp, w, h) : h;

    const bool doubled = button && shape == ShapeRound && outline != OutlineNone;
    const int requestedW = bw;
    const int requestedH = bh;
    if (doubled) {
        w *= 2;
        h *= 2;
        ht *= 2;
        bw *= 2;
        bh *= 2;
    }

    // The text image: rendered, resized to W x H and warped, on the style's
    // background (through the render pipeline, which also refreshes the
    // render holder) or, for the transparent formats, with the engine
    // alone on another background. Returns an empty string or the message.
    auto makeTextImage = [&](const QString& file, const PavrexStyle* onBack) -> QString {
        const QByteArray filePath = QFile::encodeName(file);
        QFile::remove(file);
        if (onBack == nullptr) {
            state_.host->renderTextImage(state_.host->text(), smooth ? 1 : 0, file, 0, 1);
        } else {
            const QByteArray text = toCp932Lossy(state_.host->text());
            libs.engine.ImgMake3(text.constData(), onBack, filePath.constData(), smooth ? 101 : 0, PAVREX_WHITE_INK);
        }
        const int rc = smooth ? libs.effects.SReSize(filePath.constData(), filePath.constData(), w, h, 4)
                              : libs.effects.HReSize(filePath.constData(), filePath.constData(), w, h);
        if (rc != 1) return QStringLiteral("出力画像を作成できませんでした");
        if (warp.type > 0) {
            bmp::BmpImage rendered;
            if (bmp::readBmp(filePath.constData(), rendered) != bmp::BmpReadStatus::Ok)
                return QStringLiteral("出力画像を作成できませんでした");
            const QImage source = imageFromDib(rendered.pixels.data(), rendered.width(), rendered.height());
            const int back = onBack != nullptr ? onBack->BackColor : state_.style.BackColor;
            const QImage warped = transformImage(source, warp, back);
            if (warped.isNull()) return QStringLiteral("出力サイズが小さ過ぎます");
            if (onBack == nullptr) ht = warped.height();
            const std::vector<uint8_t> bits = ReadPictureBits(warped);
            const bmp::BmpHeader header = bmp::makeHeader24(warped.width(), warped.height());
            if (!bmp::writeBmp(filePath.constData(), header, {}, bits)) return QStringLiteral("出力画像を作成できませんでした");
        }
        return {};
    };
    if (const QString problem = makeTextImage(temp, nullptr); !problem.isEmpty()) return fail(problem);

    const int background = state_.style.BackColor;

    ButtonLook look;
    if (button) {
        bmp::BmpImage rendered;
        if (bmp::readBmp(tempPath.constData(), rendered) != bmp::BmpReadStatus::Ok)
            return fail(QStringLiteral("出力画像を作成できませんでした"));
        const QImage text = imageFromDib(rendered.pixels.data(), rendered.width(), rendered.height());
        QImage canvas = placeOnCanvas(text, bw, bh, background, check5_->isChecked());
        look.shape = shape;
        look.outline = outline;
        look.outlineWidth = hscroll1_->value();
        look.outside = picture5_->colour();
        look.colour1 = apartFromBackground(picture3_->colour(), background);
        look.colour2 = picture4_->colour();
        look.smoothing = smooth;
        paintButton(canvas, background, look);
        shadeButton(canvas, background, combo3_->currentIndex());
        const std::vector<uint8_t> bits = ReadPictureBits(canvas);
        if (!bmp::writeBmp(tempPath.constData(), bmp::makeHeader24(canvas.width(), canvas.height()), {}, bits))
            return fail(QStringLiteral("出力画像を作成できませんでした"));
        if (doubled &&
            libs.effects.SReSize(tempPath.constData(), tempPath.constData(), requestedW, requestedH, 4) != 1)
            return fail(QStringLiteral("出力画像を作成できませんでした"));
    }

    // The straight-alpha picture for PNG and for the matte GIF.
    const int format = combo1_->currentIndex();
    const bool transparent = check3_->isChecked();
    const bool matteGif = format == FormatGif && transparent && check6_->isChecked() &&
                          picture7_->colour() != background && !(button && shape == ShapeSquare);
    QImage rgba;
    if (format == FormatPng || matteGif) {
        const QImage opaque(temp, "BMP");
        if (opaque.isNull()) return fail(QStringLiteral("出力画像を作成できませんでした"));
        if (!transparent || (button && shape == ShapeSquare)) {
            rgba = opaqueRgba(opaque);
        } else if (button) {
            // The shape's coverage: the same painter on a white face with a
            // black outside, reduced like the button itself.
            QImage coverage(bw, bh, QImage::Format_RGB32);
            coverage.fill(Qt::white);
            ButtonLook shapeOnly = look;
            shapeOnly.outline = OutlineNone;
            shapeOnly.outside = 0;
            paintButton(coverage, 0xFFFFFF, shapeOnly);
            if (doubled) {
                const QString coverFile = TempFolder() + QStringLiteral("VakCover.bmp");
                const QByteArray coverPath = QFile::encodeName(coverFile);
                if (!bmp::writeBmp(coverPath.constData(), bmp::makeHeader24(bw, bh), {}, ReadPictureBits(coverage)) ||
                    libs.effects.SReSize(coverPath.constData(), coverPath.constData(), requestedW, requestedH, 4) != 1 ||
                    !coverage.load(coverFile, "BMP"))
                    return fail(QStringLiteral("出力画像を作成できませんでした"));
            }
            rgba = applyCoverage(opaque, coverage, look.outside);
        } else {
            // The same text on black and on white gives the alpha.
            PavrexStyle onBlack = state_.style;
            onBlack.BackColor = kAlphaBlack;
            PavrexStyle onWhite = state_.style;
            onWhite.BackColor = kAlphaWhite;
            const QString blackFile = TempFolder() + QStringLiteral("VakAlphaB.bmp");
            const QString whiteFile = TempFolder() + QStringLiteral("VakAlphaW.bmp");
            for (const auto& [file, style] : {std::pair{blackFile, &onBlack}, std::pair{whiteFile, &onWhite}}) {
                if (const QString problem = makeTextImage(file, style); !problem.isEmpty()) return fail(problem);
            }
            rgba = solveAlpha(QImage(blackFile, "BMP"), QImage(whiteFile, "BMP"),
                              alphaFavourForShadow(state_.style.ShadowType));
        }
        if (rgba.isNull()) return fail(QStringLiteral("出力画像を作成できませんでした"));
    }
    cursor.restore();

    if (!commandLine_ && readInt(ini, keys::kFileOutPreView) == 1 && !previewAccepted()) return false;

    if (!writeOutput(temp, text1_->text(), button && shape == ShapeSquare, rgba)) return false;
    accept();
    return true;
}

bool FileOutputDialog::previewAccepted() { return showOutputPreview(state_, this); }

bool FileOutputDialog::writeOutput(const QString& temp, const QString& path, bool squareButton, const QImage& rgba) {
    const Libraries& libs = state_.libraries();
    const QByteArray tempPath = QFile::encodeName(temp);
    const QByteArray outPath = QFile::encodeName(path);
    const QString cannotWrite =
        QStringLiteral("ファイルに書き込めませんでした\r\n%1").arg(QDir::toNativeSeparators(path));
    bool written = false;
    switch (combo1_->currentIndex()) {
        case 0: {
            QFile in(temp);
            if (!in.open(QIODevice::ReadOnly)) break;
            const QByteArray bytes = in.readAll();
            written = bmp::writeFileAtomically(
                outPath.constData(), {},
                std::span<const uint8_t>(reinterpret_cast<const uint8_t*>(bytes.constData()), size_t(bytes.size())));
            break;
        }
        case FormatGif: {
            if (!rgba.isNull()) {
                written = writeMatteGif(libs.imageFormat, rgba, picture7_->colour(), outPath);
                break;
            }
            const int handle = libs.imageFormat.ToDIB(tempPath.constData());
            if (handle == 0) break;
            libs.imageFormat.DIBto8Bit(handle, 0, 0);
            GifOptions options{};
            if (check3_->isChecked() && !(check4_->isChecked() && squareButton)) {
                options.flags = IMGCTL_TRANSPARENT;
                options.transparentIndex = libs.imageFormat.PixelDIB(handle, 0, 0);
            }
            written = libs.imageFormat.DIBtoGIFex(outPath.constData(), handle, &options) == IMGCTL_OK;
            libs.imageFormat.DeleteDIB(handle);
            break;
        }
        case FormatPng: {
            written = !rgba.isNull() && libs.imageFormat.RGBAtoPNG(outPath.constData(), rgba.constBits(), rgba.width(),
                                                                   rgba.height(), int(rgba.bytesPerLine())) == IMGCTL_OK;
            break;
        }
        default: {
            const QString& ini = state_.settingsPath();
            const int quality = readInt(ini, keys::kJPEGQuality);
            const int progression = readInt(ini, keys::kJPEGProgression);
            const int handle = libs.imageFormat.ToDIB(tempPath.constData());
            if (handle == 0) break;
            written = libs.imageFormat.DIBtoJPG(outPath.constData(), handle, quality, progression) == IMGCTL_OK;
            libs.imageFormat.DeleteDIB(handle);
            break;
        }
    }
    if (!written) showOutputMessage(information(cannotWrite), messageOwner());
    return written;
}

void FileOutputDialog::chooseFile() {
    QString filter;
    if (combo1_->currentIndex() == FormatBmp)
        filter = QStringLiteral("BMPファイル (*.BMP *.bmp);;GIFファイル (*.GIF *.gif);;全て (*)");
    else if (combo1_->currentIndex() == FormatGif)
        filter = QStringLiteral("GIFファイル (*.GIF *.gif);;BMPファイル (*.BMP *.bmp);;全て (*)");
    else if (combo1_->currentIndex() == FormatPng)
        filter = QStringLiteral("PNGファイル (*.PNG *.png);;全て (*)");
    else
        filter = QStringLiteral("JPGファイル (*.JPG *.jpg *.jpeg);;全て (*)");
    const QString chosen = QFileDialog::getSaveFileName(this, QStringLiteral("出力ファイル選択"), text1_->text(), filter,
                                                        nullptr, QFileDialog::DontConfirmOverwrite);
    if (!chosen.isEmpty()) text1_->setText(chosen);
}

void FileOutputDialog::chooseTransform() {
    openTransformSettings(state_, this);
    showTransformIcon();
    calcTranSize();
}

void FileOutputDialog::showTransformIcon() {
    const WarpSettings warp = loadWarpSettings(state_.settingsPath());
    const QPixmap icon = transformIcon(warp.type);
    if (icon.isNull()) {
        picture6_->setPixmap(QPixmap());
        picture6_->setText(QString::number(warp.type));
    } else {
        picture6_->setText(QString());
        picture6_->setPixmap(icon);
    }
}

void FileOutputDialog::refresh() {
    setUpdatesEnabled(false);
    setUpdatesEnabled(true);
    update();
    for (QWidget* w : findChildren<QWidget*>()) w->update();
    state_.refreshMainWindow();
}

void FileOutputDialog::done(int r) {
    if (!commandLine_) StoreWindowPosition(this, state_.settingsPath(), kWindowNumber);
    QDialog::done(r);
}

void FileOutputDialog::mousePressEvent(QMouseEvent* event) {
    refresh();
    QDialog::mousePressEvent(event);
}

bool FileOutputDialog::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        const QString typed = key->text();
        if (!typed.isEmpty() && key->key() < 0x01000000) {
            for (const QChar c : typed) {
                if (FilterKey(c.unicode(), 2) == 0) return true;
            }
        }
    } else if (event->type() == QEvent::MouseButtonDblClick && watched == label8_ && label8_->isEnabled()) {
        OutputMessage q;
        q.icon = QMessageBox::Question;
        q.title = QStringLiteral("枠サイズ調整");
        q.text = QStringLiteral("ボタンサイズを自動調整します\r\rよろしいですか？");
        q.buttons = QMessageBox::Yes | QMessageBox::No;
        q.defaultButton = QMessageBox::Yes;
        if (showOutputMessage(q, this) == QMessageBox::Yes) fitButton(0.15, 4, 4, fieldValue(text3_));
        return true;
    } else if (event->type() == QEvent::MouseButtonPress && (watched == label2_ || watched == label3_)) {
        refresh();
    }
    return QDialog::eventFilter(watched, event);
}

void showFileOutputDialog(ProgramState& state, QWidget* owner) {
    FileOutputDialog dialog(state, owner);
    dialog.load();
    dialog.exec();
}

bool runCommandLineOutput(ProgramState& state, const QString& file) {
    FileOutputDialog dialog(state, state.host != nullptr ? state.host->ownerWindow() : nullptr);
    dialog.setModal(false);
    dialog.setCommandLine();
    dialog.load();
    if (!file.isEmpty()) {
        dialog.nameField()->setText(file);
        const QString e = file.right(4).toUpper();
        const int format = e == QStringLiteral(".BMP")   ? FormatBmp
                           : e == QStringLiteral(".GIF") ? FormatGif
                           : e == QStringLiteral(".JPG") ? FormatJpg
                           : e == QStringLiteral(".PNG") ? FormatPng
                                                         : -1;
        if (format >= 0) dialog.formatList()->setCurrentIndex(format);
    }
    // "FileOutPreView" keeps its value: the flag, not the settings file,
    // keeps the preview away.
    return dialog.runOutput();
}

}  // namespace vakuro
