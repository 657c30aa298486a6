// A colour swatch of the style dialogs: shows a 0x00BBGGRR colour and, on a
// click, offers Qt's colour dialog preset to it. Cancelling changes nothing.
#pragma once

#include <QLabel>

namespace vakuro {

class ColourSwatch : public QLabel {
    Q_OBJECT
public:
    explicit ColourSwatch(QWidget* parent = nullptr);

    int colour() const { return colour_; }
    // Shows the colour without emitting colourChosen.
    void setColour(int colourRef);

    // The Qt colour of a 0x00BBGGRR value, and back.
    static QColor toQColor(int colourRef);
    static int fromQColor(const QColor& colour);

signals:
    // The user picked a colour in the colour dialog (and did not cancel).
    void colourChosen(int colourRef);

protected:
    void mousePressEvent(QMouseEvent* event) override;

private:
    int colour_ = 0;
};

}  // namespace vakuro
