// What the XP-style controls share: a caption label that shows the
// objectName until a caption is set and follows the control's font, the
// Caption, Enabled and Font entries of a stored form's property bag, and the
// mouse events of the control and of its caption taken to one handler.
#pragma once

#include <QFont>
#include <QVariantMap>
#include <QWidget>

class QLabel;

class XpControl : public QWidget
{
    Q_OBJECT
public:
    ~XpControl() override;

    // Until a caption is set the control shows its objectName.
    QString caption() const;
    void setCaption(const QString &vNewCaption);

    // Mouse buttons as the events carry them: 1 left, 2 right, 4 middle.
    static int buttonCode(Qt::MouseButtons buttons);
    // Shift state as the events carry it: 1 Shift, 2 Ctrl, 4 Alt.
    static int shiftCode(Qt::KeyboardModifiers mods);

protected:
    explicit XpControl(QWidget *parent);

    // The control raises its own CaptionChanged and FontChanged.
    virtual void announceCaption(const QString &caption) = 0;
    virtual void announceFont(const QFont &font) = 0;
    // Lays the control out again around a caption of a new size.
    virtual void lbl_Change() = 0;
    // Mouse press, double click, move and release on the control or its
    // caption; pos is relative to the widget the event started on.
    virtual void handleMouse(QMouseEvent *event, QWidget *origin) = 0;

    // Takes a font change of the control over to the caption.
    void followFont();
    // Shows the objectName again, as a control whose caption was never set.
    void resetCaption();
    // Values equal to their defaults are left out on writing, and missing
    // keys give the defaults on reading.
    void writeCommonProperties(QVariantMap &bag) const;
    void readCaption(const QVariantMap &bag);
    void readFont(const QVariantMap &bag);

    void mousePressEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

    QLabel *const lbl;

private:
    // The font of the container, which an empty font follows.
    QFont ambientFont() const;

    QFont m_Font;
    bool m_CaptionSet = false;
};
