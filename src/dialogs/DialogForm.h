// What the dialogs share in building themselves: the window settings every
// dialog has, the size it was designed at, its XP command buttons, and the
// message a failed favourites edit shows.
#pragma once

#include "store/FavEdits.h"

#include <QString>

class QDialog;
class QWidget;
class xpcmdbutton;

class DialogForm
{
public:
    // Twips to pixels: 15 to a pixel, as on the screens the forms were drawn for.
    static constexpr int px(int twips) { return twips / 15; }

    // The objectName and title of a dialog, no help button in its title bar,
    // and deleted when it closes.
    static void setUp(QDialog *dialog, const QString &name, const QString &title);
    // Once its layout is built: the dialog starts at the size it was designed
    // at, or larger where its fonts and captions need more room.
    static void startAt(QDialog *dialog, int widthTwips, int heightTwips);

    // An XP command button with its caption in the given font family; it is
    // never laid out narrower or lower than its caption needs.
    static xpcmdbutton *button(const char *name, const QString &caption, const QString &family);

    // Shows the message of a failed favourites edit over parent and returns
    // whether the edit failed.
    static bool reportFailure(QWidget *parent, FavEdits::Result result);
};
