// The restore bar's layout and buttons.
#include "app/RestoreBar.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>

RestoreBar::RestoreBar(int tabCount, QWidget *parent) : QFrame(parent)
{
    setObjectName(QStringLiteral("restoreSessionBar"));
    setFrameShape(QFrame::StyledPanel);
    setAutoFillBackground(true);
    QPalette colours = palette();
    colours.setColor(QPalette::Window, QColor(0xff, 0xf4, 0xce));
    colours.setColor(QPalette::WindowText, Qt::black);
    setPalette(colours);

    auto *row = new QHBoxLayout(this);
    row->setContentsMargins(8, 4, 8, 4);
    auto *text = new QLabel(tr("Corvane did not close properly."), this);
    text->setObjectName(QStringLiteral("restoreSessionText"));
    row->addWidget(text, 1);

    m_restore = new QPushButton(tr("Restore %1 tabs").arg(tabCount), this);
    m_restore->setObjectName(QStringLiteral("restoreSessionButton"));
    auto *dismiss = new QPushButton(tr("Dismiss"), this);
    dismiss->setObjectName(QStringLiteral("dismissSessionButton"));
    for (QPushButton *button : {m_restore, dismiss}) {
        button->setFocusPolicy(Qt::StrongFocus);
        button->setAutoDefault(true); // Enter presses it as Space does
        row->addWidget(button);
    }
    connect(m_restore, &QPushButton::clicked, this, &RestoreBar::restoreClicked);
    connect(dismiss, &QPushButton::clicked, this, &RestoreBar::dismissClicked);
}
