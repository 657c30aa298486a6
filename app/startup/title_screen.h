// The title screen: the background slides in behind the program's name
// while a short jingle plays, then the screen closes itself.
#pragma once

#include <QDialog>
#include <QImage>

namespace vakuro {

class Title : public QDialog {
    Q_OBJECT
public:
    explicit Title(QWidget* parent = nullptr);

    // Shows the screen, runs the slide (about 3.7 seconds) and closes.
    void run(double random);

    // Which jingle plays for a random number in [0, 1): 101, 102 or 103.
    static int jingleFor(double random);
    // The offsets of the background, in twips, one per step.
    static QList<int> slideSteps();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QImage back_;
    QImage textPicture_;
    int offset_ = 0;  // pixels
};

}  // namespace vakuro
