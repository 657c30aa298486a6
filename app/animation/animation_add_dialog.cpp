#include "animation_add_dialog.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPixmap>
#include <QPushButton>
#include <QVBoxLayout>

#include "effect_kinds.h"

namespace vakuro {

QString animationSamplePath(int kind) { return QStringLiteral(":/animation/sample%1.png").arg(kind); }

AnimationAddDialog::AnimationAddDialog(QWidget* owner) : QDialog(owner) {
    setObjectName(QStringLiteral("Form072"));
    setWindowTitle(QStringLiteral("アニメーションの追加"));
    setModal(true);

    list_ = new QListWidget(this);
    list_->setObjectName(QStringLiteral("List1"));
    list_->addItems(kindListNames());
    list_->setMinimumWidth(170);
    sample_ = new QLabel(this);
    sample_->setObjectName(QStringLiteral("Picture1"));
    sample_->setFixedSize(164, 64);
    sample_->setFrameShape(QFrame::Box);
    sample_->setAlignment(Qt::AlignCenter);
    description_ = new QLabel(this);
    description_->setObjectName(QStringLiteral("Label1"));
    description_->setWordWrap(true);
    description_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    description_->setMinimumSize(200, 90);
    ok_ = new QPushButton(QStringLiteral("OK"), this);
    ok_->setObjectName(QStringLiteral("Command1"));
    ok_->setDefault(true);
    cancel_ = new QPushButton(QStringLiteral("ｷｬﾝｾﾙ"), this);
    cancel_->setObjectName(QStringLiteral("Command2"));

    auto* right = new QVBoxLayout;
    right->addWidget(sample_);
    right->addWidget(description_, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok_);
    buttons->addWidget(cancel_);
    right->addLayout(buttons);
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(list_);
    layout->addLayout(right, 1);

    connect(list_, &QListWidget::currentRowChanged, this, &AnimationAddDialog::rowChanged);
    connect(list_, &QListWidget::itemDoubleClicked, this, [this](QListWidgetItem* item) {
        list_->setCurrentItem(item);
        Ok();
    });
    connect(ok_, &QPushButton::clicked, this, &AnimationAddDialog::Ok);
    connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);
}

void AnimationAddDialog::rowChanged(int row) {
    const int kind = row + 1;
    description_->setText(kindDescription(kind));
    const QPixmap picture(animationSamplePath(kind));
    sample_->setPixmap(picture);
}

void AnimationAddDialog::Ok() {
    const int row = list_->currentRow();
    if (row < 0 || list_->selectedItems().isEmpty()) return;
    chosen_ = row + 1;
    accept();
}

int chooseAnimationKind(QWidget* owner) {
    AnimationAddDialog dialog(owner);
    dialog.adjustSize();
    if (owner) dialog.move(owner->geometry().center() - QPoint(dialog.width() / 2, dialog.height() / 2));
    return dialog.exec() == QDialog::Accepted ? dialog.chosenKind() : 0;
}

}  // namespace vakuro
