// An XP-style push button painted from a strip of five faces; it polls the cursor to see it leave.
#pragma once

#include "controls/XpControl.h"

#include <QPixmap>

class QShortcut;
class QTimer;

class xpcmdbutton : public XpControl
{
    Q_OBJECT
    Q_PROPERTY(int State READ state WRITE setState NOTIFY StateChanged)

public:
    // The cells of the face strip.
    enum Face { Normal = 0, Pressed = 1, Disabled = 2, Hot = 3, Default = 4 };
    // Resting faces chosen by State; other values keep the last one.
    enum { NormalState = 0, DefaultState = 1 };

    explicit xpcmdbutton(QWidget *parent = nullptr);
    ~xpcmdbutton() override;

    // Returns/sets the state of the command button when mouse_out: 0 rests on
    // the normal face, 1 on the default face.
    int state() const { return m_State; }
    void setState(int vNewValue);

    // The default button of its window: Enter pressed anywhere in the window
    // clicks it (unless another button has the focus, which takes Enter for
    // itself). Making a button the default clears the flag of the others.
    // Escape is left to the window, so a dialog still closes on it.
    bool isDefault() const { return m_Default; }
    void setDefault(bool on);

    // The property bag of a stored form: values equal to their defaults are
    // left out on writing, and missing keys give the defaults on reading.
    void writeProperties(QVariantMap &bag) const;
    void readProperties(const QVariantMap &bag);
    // Settings of a new instance: enabled, caption = objectName, ambient font.
    void initProperties();

    // The face shown now.
    Face currentCell() const { return m_Cell; }

    QSize sizeHint() const override;

signals:
    void KeyDown(int &KeyCode, int &Shift);
    void KeyPress(int &KeyAscii);
    void KeyUp(int &KeyCode, int &Shift);
    void MouseOut();

    void StateChanged(int state);

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void keyReleaseEvent(QKeyEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    bool event(QEvent *event) override;
    void lbl_Change() override;
    void showEnabledState() override { DrawRestState(); }
    bool clickArea(const MouseArgs &args) const override;
    void mouseEvent(QEvent::Type type, Qt::MouseButton button, MouseArgs &args) override;

private:
    void DrawCell(Face cell);
    void DrawRestState();
    void UserControl_Resize();
    void Timer1_Timer();
    // Both limits inclusive: a point on the right or bottom edge is inside.
    bool inside(QPointF p) const;

    int m_State = 0;
    Face m_RestCell = Normal;

    QTimer *Timer1;
    QPixmap pc;
    QShortcut *m_EnterKey = nullptr;
    QShortcut *m_EnterPadKey = nullptr;
    Face m_Cell = Normal;
    bool m_Default = false;
    bool m_SpaceHeld = false; // Space went down on this button
};
