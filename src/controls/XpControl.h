// What the two XP-style controls share: caption, common properties, pictures, mouse and Click.
#pragma once

#include <QAccessible>
#include <QFont>
#include <QPixmap>
#include <QVariantMap>
#include <QWidget>

class QLabel;
class QPainter;

class XpControl : public QWidget
{
    Q_OBJECT
    Q_PROPERTY(bool Enabled READ isEnabled WRITE setEnabled NOTIFY EnabledChanged)
    Q_PROPERTY(QString Caption READ caption WRITE setCaption NOTIFY CaptionChanged)
    Q_PROPERTY(QFont Font READ font WRITE setFont NOTIFY FontChanged)

public:
    ~XpControl() override;

    // Until a caption is set the control shows its objectName, as a control
    // placed in the form designer does.
    QString caption() const;
    void setCaption(const QString &vNewCaption);

    // Enabled and Font are QWidget's own enabled state and font; the control
    // follows them (caption colour, caption font and placement) however they
    // are changed, and raises EnabledChanged and FontChanged.

    // Raises Click as a click of the mouse would; nothing while disabled.
    void click();

    // The role accessibility tools are given: a Button can also be pressed.
    QAccessible::Role accessibleRole() const { return m_Role; }

    // Mouse buttons as the events carry them: 1 left, 2 right, 4 middle.
    static int buttonCode(Qt::MouseButtons buttons);
    // Shift state as the events carry it: 1 Shift, 2 Ctrl, 4 Alt.
    static int shiftCode(Qt::KeyboardModifiers mods);

signals:
    void Click();
    void MouseDown(int &Button, int &Shift, float &x, float &Y);
    void MouseMove(int &Button, int &Shift, float &x, float &Y);
    void MouseUp(int &Button, int &Shift, float &x, float &Y);

    void EnabledChanged(bool enabled);
    void CaptionChanged(const QString &caption);
    void FontChanged(const QFont &font);

protected:
    // What one mouse event on the control or its caption carries.
    struct MouseArgs
    {
        int Button;        // the button that went down or up; those held for a move
        int Shift;         // shiftCode of the modifiers
        float x, Y;        // relative to the widget the event started on
        QPointF inControl; // the same point in the control's coordinates
        bool onCaption;    // the event started on the caption
    };

    XpControl(QWidget *parent, QAccessible::Role role, const QColor &captionColor);

    // A picture compiled into the :/controls resources.
    static QPixmap picture(const QString &fileName);
    // Draws source of picture over target: its 3-pixel corners copied, its
    // edges stretched along their length and its centre both ways.
    static void drawFrame(QPainter &painter, const QRect &target, const QPixmap &picture,
                          const QRect &source);

    // Lays the control out again around a caption of a new size.
    virtual void lbl_Change() = 0;
    // After the control was enabled or disabled, before EnabledChanged.
    virtual void showEnabledState() {}
    // Where a left press and release make a Click.
    virtual bool clickArea(const MouseArgs &args) const = 0;
    // Mouse press, double click, move or release; a Click, when the release
    // makes one, follows.
    virtual void mouseEvent(QEvent::Type type, Qt::MouseButton button, MouseArgs &args) = 0;

    // Sets a colour of the caption label in every colour group, so a
    // disabled caption shows this colour and not the style's.
    void setCaptionColor(QPalette::ColorRole role, const QColor &color);
    // Shows the objectName again, as a control whose caption was never set.
    void resetCaption();
    // Values equal to their defaults are left out on writing, and missing
    // keys give the defaults on reading.
    void writeCommonProperties(QVariantMap &bag) const;
    void readEnabled(const QVariantMap &bag);
    void readCaption(const QVariantMap &bag);
    void readFont(const QVariantMap &bag);

    void changeEvent(QEvent *event) override;
    void hideEvent(QHideEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

    QLabel *const lbl;

private:
    void handleMouse(QMouseEvent *event, QWidget *origin);
    void followFont();
    // The caption colour of the enabled control, grey when disabled.
    void applyCaptionColor();
    // The font of the container, which an empty font follows.
    QFont ambientFont() const;

    const QAccessible::Role m_Role;
    const QColor m_CaptionColor;
    QFont m_Font;
    bool m_CaptionSet = false;
    bool m_ClickArmed = false; // a left press in the click area awaits its release
};
