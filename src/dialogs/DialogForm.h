// What the dialogs share in building themselves: sizes given in twips as the
// forms were designed, the window settings every dialog has, and their XP
// command buttons.
#pragma once

#include <QRect>
#include <QString>

class QDialog;
class QWidget;
class xpcmdbutton;

class DialogForm
{
public:
    // Twips to pixels: 15 to a pixel, as on the screens the forms were drawn for.
    static constexpr int px(int twips) { return twips / 15; }

    // A dialog with the given objectName and title, a fixed size in twips, no
    // help button in its title bar, and deleted when it closes.
    static void setUp(QDialog *dialog, const QString &name, const QString &title, int widthTwips,
                      int heightTwips);

    // An XP command button with its caption in the given font family.
    static xpcmdbutton *button(QWidget *parent, const char *name, const QString &caption,
                               const QString &family, const QRect &geometry);
};
