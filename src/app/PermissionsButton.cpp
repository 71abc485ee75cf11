// The stored-permissions button and its list.
#include "app/PermissionsButton.h"

#include "app/PageView.h"
#include "store/PermissionStore.h"

#include <QFrame>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>

namespace {
QString featureCaption(const QString &name)
{
    static const QHash<QString, QString> captions{
        {QStringLiteral("notifications"), QObject::tr("Notifications")},
        {QStringLiteral("location"), QObject::tr("Location")},
        {QStringLiteral("microphone"), QObject::tr("Microphone")},
        {QStringLiteral("camera"), QObject::tr("Camera")},
        {QStringLiteral("camera-microphone"), QObject::tr("Camera and microphone")},
        {QStringLiteral("pointer-lock"), QObject::tr("Mouse pointer lock")},
        {QStringLiteral("screen"), QObject::tr("Screen sharing")}};
    return captions.value(name, name);
}
} // namespace

PermissionsButton::PermissionsButton(std::function<PageView *()> selectedView, QWidget *parent)
    : QToolButton(parent), m_selectedView(std::move(selectedView))
{
    setObjectName(QStringLiteral("permissionsButton"));
    setText(tr("Permissions"));
    setToolTip(tr("What this site may do, as you answered it"));
    setAutoRaise(true);
    setFocusPolicy(Qt::TabFocus);
    connect(this, &QToolButton::clicked, this, &PermissionsButton::showList);
    hide();
    m_shownSite = QStringLiteral("-"); // no site is this: the first look reads the store
}

QString PermissionsButton::site() const
{
    PageView *view = m_selectedView();
    return view ? PermissionStore::originOf(view->LocationURL()) : QString();
}

void PermissionsButton::refresh()
{
    // A page changing its address many times a second stays on its site:
    // the settings store is read when the site changes, not at each move.
    const QString now = site();
    if (now == m_shownSite)
        return;
    m_shownSite = now;
    setVisible(!PermissionStore::answersFor(now).isEmpty());
}

void PermissionsButton::answersChanged()
{
    m_shownSite = site();
    setVisible(!PermissionStore::answersFor(m_shownSite).isEmpty());
}

void PermissionsButton::showList()
{
    const QString origin = site();
    const auto answers = PermissionStore::answersFor(origin);
    if (answers.isEmpty())
        return;
    delete m_list;
    m_list = new QFrame(this, Qt::Popup);
    m_list->setObjectName(QStringLiteral("sitePermissionsList"));
    m_list->setAttribute(Qt::WA_DeleteOnClose);
    m_list->setFrameShape(QFrame::StyledPanel);
    auto *grid = new QGridLayout(m_list);
    grid->addWidget(new QLabel(origin, m_list), 0, 0, 1, 2);
    int row = 1;
    for (const auto &[feature, answer] : answers) {
        auto *label =
            new QLabel(tr("%1: %2").arg(featureCaption(feature),
                                        answer == PermissionStore::Answer::Allow ? tr("allowed")
                                                                                 : tr("blocked")),
                       m_list);
        auto *forget = new QPushButton(tr("Forget"), m_list);
        forget->setObjectName(QStringLiteral("permissionForgetButton"));
        forget->setProperty("feature", feature);
        grid->addWidget(label, row, 0);
        grid->addWidget(forget, row, 1);
        connect(forget, &QPushButton::clicked, this, [this, origin, feature, label, forget] {
            PermissionStore::save(origin, feature, PermissionStore::Answer::Ask);
            if (PageView *view = m_selectedView())
                view->forgetPermission(origin, feature);
            label->hide();
            forget->hide();
            answersChanged();
            if (!isVisible() && m_list)
                m_list->close();
        });
        ++row;
    }
    m_list->adjustSize();
    const QPoint corner = mapToGlobal(QPoint(width(), 0));
    m_list->move(corner - QPoint(m_list->width(), m_list->height()));
    m_list->show();
}
