// A push button in the style of the Windows XP theme, painted from a strip of
// five faces (normal, pressed, disabled, hot, default). It follows the mouse
// itself and finds out that the cursor has left by polling it.
#pragma once

#include "controls/XpControl.h"

#include <QPixmap>

class QShortcut;
class QTimer;

class xpcmdbutton : public XpControl
{
    Q_OBJECT
    Q_PROPERTY(bool Enabled READ isEnabled WRITE setEnabled NOTIFY EnabledChanged)
    Q_PROPERTY(int State READ state WRITE setState NOTIFY StateChanged)
    Q_PROPERTY(QString Caption READ caption WRITE setCaption NOTIFY CaptionChanged)
    Q_PROPERTY(QFont Font READ font WRITE setFont NOTIFY FontChanged)

public:
    // Resting faces chosen by State; other values keep the last one.
    enum { NormalState = 0, DefaultState = 1 };

    explicit xpcmdbutton(QWidget *parent = nullptr);
    ~xpcmdbutton() override;

    // Returns/sets the state of the command button when mouse_out: 0 rests on
    // the normal face, 1 on the default face.
    int state() const { return m_State; }
    void setState(int vNewValue);

    // caption() and setCaption() come from XpControl: until a caption is set
    // the button shows its objectName.

    // Enabled and Font are QWidget's own enabled state and font; the button
    // follows them (grey caption, disabled face, re-centred caption) however
    // they are changed.

    // The default button of its window: Enter pressed anywhere in the window
    // clicks it (unless another button has the focus, which takes Enter for
    // itself). Making a button the default clears the flag of the others.
    bool isDefault() const { return m_Default; }
    void setDefault(bool on);

    // The property bag of a stored form: values equal to their defaults are
    // left out on writing, and missing keys give the defaults on reading.
    void writeProperties(QVariantMap &bag) const;
    void readProperties(const QVariantMap &bag);
    // Settings of a new instance: enabled, caption = objectName, ambient font.
    void initProperties();

    // Face currently shown: a cell of the face strip (0 normal, 1 pressed,
    // 2 disabled, 3 hot, 4 default).
    int currentCell() const { return m_Cell; }

    QSize sizeHint() const override;

    // Presses the button as a click of the mouse would (accessibility).
    void click();

signals:
    void Click();
    void KeyDown(int &KeyCode, int &Shift);
    void KeyPress(int &KeyAscii);
    void KeyUp(int &KeyCode, int &Shift);
    void MouseOut();
    void MouseDown(int &Button, int &Shift, float &x, float &Y);
    void MouseMove(int &Button, int &Shift, float &x, float &Y);
    void MouseUp(int &Button, int &Shift, float &x, float &Y);

    void EnabledChanged(bool enabled);
    void StateChanged(int state);
    void CaptionChanged(const QString &caption);
    void FontChanged(const QFont &font);

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;
    void changeEvent(QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void keyReleaseEvent(QKeyEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    bool event(QEvent *event) override;
    void announceCaption(const QString &caption) override { emit CaptionChanged(caption); }
    void announceFont(const QFont &font) override { emit FontChanged(font); }
    void lbl_Change() override;
    // Mouse press, move and release from the control or its caption.
    void handleMouse(QMouseEvent *event, QWidget *origin) override;

private:
    void DrawCell(int cell);
    void DrawRestState();
    void UserControl_Resize();
    void UserControl_MouseDown(int Button, int Shift, float X, float Y);
    void UserControl_MouseMove(int Button, int Shift, float X, float Y);
    void UserControl_MouseUp(int Button, int Shift, float X, float Y);
    void Timer1_Timer();
    void applyEnabled();

    int m_State = 0;
    short m_RestCell = 0;

    QTimer *Timer1;
    QPixmap pc;
    QShortcut *m_EnterKey = nullptr;
    QShortcut *m_EnterPadKey = nullptr;
    int m_Cell = 0;
    bool m_Default = false;
    bool m_Pressed = false;        // a left press on the control awaits its release
    bool m_SecondOfDouble = false; // the press was the second of a double click
    bool m_SpaceHeld = false;      // Space went down on this button
};
