// The permission bar's layout and buttons.
#include "web/PermissionBar.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QToolButton>

PermissionBar::PermissionBar(QWidget *parent) : QFrame(parent)
{
    setObjectName(QStringLiteral("permissionBar"));
    setFrameShape(QFrame::StyledPanel);
    setAutoFillBackground(true);
    QPalette colours = palette();
    colours.setColor(QPalette::Window, QColor(0xe8, 0xf0, 0xfe));
    colours.setColor(QPalette::WindowText, Qt::black);
    setPalette(colours);

    auto *row = new QHBoxLayout(this);
    row->setContentsMargins(8, 4, 4, 4);
    m_text = new QLabel(this);
    m_text->setObjectName(QStringLiteral("permissionText"));
    m_text->setTextFormat(Qt::PlainText);
    m_text->setWordWrap(true);
    row->addWidget(m_text, 1);
    auto *allow = new QPushButton(tr("Allow"), this);
    allow->setObjectName(QStringLiteral("permissionAllowButton"));
    auto *block = new QPushButton(tr("Block"), this);
    block->setObjectName(QStringLiteral("permissionBlockButton"));
    auto *close = new QToolButton(this);
    close->setObjectName(QStringLiteral("permissionCloseButton"));
    close->setText(QStringLiteral("\u2715"));
    close->setToolTip(tr("Block this time only"));
    close->setAccessibleName(tr("Block this time only"));
    close->setAutoRaise(true);
    for (QAbstractButton *button :
         {static_cast<QAbstractButton *>(allow), static_cast<QAbstractButton *>(block),
          static_cast<QAbstractButton *>(close)}) {
        button->setFocusPolicy(Qt::StrongFocus);
        row->addWidget(button);
    }
    allow->setAutoDefault(true);
    block->setAutoDefault(true);
    connect(allow, &QPushButton::clicked, this, [this] { emit answered(true, true); });
    connect(block, &QPushButton::clicked, this, [this] { emit answered(false, true); });
    connect(close, &QToolButton::clicked, this, [this] { emit answered(false, false); });
    hide();
}

void PermissionBar::ask(const QString &question)
{
    m_text->setText(question);
    show();
}
