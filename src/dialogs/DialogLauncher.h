// Opens the dialogs of the Favorites, Tools and Help menus.
#pragma once

#include <QObject>

class frmWeb;

class DialogLauncher : public QObject
{
    Q_OBJECT
public:
    explicit DialogLauncher(frmWeb *window);

public slots:
    void AddToFav_Click();
    void DelFav_Click();
    void prop_Click();
    void mnuAbout_Click();

private:
    frmWeb *m_window;
};
