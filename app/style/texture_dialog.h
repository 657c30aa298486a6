// The texture selection dialog (window Form011): every built-in texture at its real
// size in a scrolling grid of three columns, the chosen one framed. "OK" or a
// double-click stores the choice in TextureIndex and redraws; "ｷｬﾝｾﾙ" changes
// nothing. Opened modally by the colour settings dialog.
#pragma once

#include <QDialog>
#include <QImage>
#include <QList>

#include <functional>

class QFrame;
class QPushButton;
class QScrollBar;

namespace vakuro {

class ClickableLabel;
class ProgramState;

class TextureDialog : public QDialog {
    Q_OBJECT
public:
    // Gives the picture of a texture resource number (195 + n), or a null
    // image when there is no such resource.
    using TextureLoader = std::function<QImage(int resourceNumber)>;

    // Geometry in twips (15 twips are one pixel).
    static constexpr int kThumbWidthTwips = 2400;
    static constexpr int kThumbHeightTwips = 600;
    static constexpr int kColumnPitchTwips = 2520;
    static constexpr int kRowPitchTwips = 720;
    static constexpr int kThumbMarginTwips = 60;
    static constexpr int kViewportWidthTwips = 3 * kColumnPitchTwips;
    static constexpr int kViewportHeightTwips = 4455;
    static constexpr int kScrollStepTwips = 120;

    // The loader defaults to the program's texture resources.
    explicit TextureDialog(ProgramState& state, QWidget* parent = nullptr, TextureLoader loader = {});

    int textureCount() const { return static_cast<int>(thumbnails_.size()); }
    int selectedTexture() const { return selected_; }

    // "OK": stores the selected texture in TextureIndex, redraws and closes.
    void accept() override;

protected:
    void changeEvent(QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    void loadThumbnails(const TextureLoader& loader);
    void selectTexture(int n);
    void scrollToCurrentRow();
    void scrolled(int value);

    ProgramState& state_;
    QWidget* viewport_ = nullptr;     // Picture1
    QWidget* panel_ = nullptr;        // Picture2
    QFrame* frame_ = nullptr;         // Shape1
    QScrollBar* scroll_ = nullptr;    // VScroll1
    QPushButton* ok_ = nullptr;       // Command1
    QList<ClickableLabel*> thumbnails_;  // Image1, element n for texture n
    int selected_ = 0;
};

}  // namespace vakuro
