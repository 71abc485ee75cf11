// A group frame in the style of the Windows XP theme: a thin light line with
// rounded corners, the caption in blue at the top left breaking the top line.
// It is a container; dialogs place their own widgets inside it.
#pragma once

#include "controls/XpControl.h"

#include <QPixmap>

class xpgroupbox : public XpControl
{
    Q_OBJECT
    Q_PROPERTY(bool Enabled READ isEnabled WRITE setEnabled NOTIFY EnabledChanged)
    Q_PROPERTY(QFont Font READ font WRITE setFont NOTIFY FontChanged)
    Q_PROPERTY(quint32 BackColor READ backColor WRITE setBackColor NOTIFY BackColorChanged)
    Q_PROPERTY(QString Caption READ caption WRITE setCaption NOTIFY CaptionChanged)

public:
    // Colour values: r + 256*g + 65536*b, or a system colour by its index
    // with the top bit set.
    static constexpr quint32 DefaultBackColor = 65535; // yellow, until a dialog sets its own
    static constexpr quint32 ButtonFace = 0x8000000F;  // the dialog face
    // The Qt colour of a colour value; system colours come from palette.
    static QColor colorFromValue(quint32 value, const QPalette &palette);

    explicit xpgroupbox(QWidget *parent = nullptr);
    ~xpgroupbox() override;

    // caption() and setCaption() come from XpControl: until a caption is set
    // the box shows its objectName.

    quint32 backColor() const { return m_BackColor; }
    void setBackColor(quint32 New_BackColor);

    // Enabled and Font are QWidget's own; the caption turns grey when the box
    // is disabled and follows the font however it is changed.

    // The property bag of a stored form: values equal to their defaults are
    // left out on writing, and missing keys give the defaults on reading.
    void writeProperties(QVariantMap &bag) const;
    void readProperties(const QVariantMap &bag);
    // Settings of a new instance: caption = objectName, enabled, ambient font, yellow.
    void initProperties();

signals:
    void Click();
    void DblClick();
    void MouseDown(int &Button, int &Shift, float &x, float &Y);
    void MouseMove(int &Button, int &Shift, float &x, float &Y);
    void MouseUp(int &Button, int &Shift, float &x, float &Y);

    void EnabledChanged(bool enabled);
    void FontChanged(const QFont &font);
    void BackColorChanged(quint32 color);
    void CaptionChanged(const QString &caption);

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void changeEvent(QEvent *event) override;
    void announceCaption(const QString &caption) override { emit CaptionChanged(caption); }
    void announceFont(const QFont &font) override { emit FontChanged(font); }
    void lbl_Change() override;
    // Mouse events from the control or its caption.
    void handleMouse(QMouseEvent *event, QWidget *origin) override;

private:
    void UserControl_Resize();
    void applyEnabled();
    void applyBackColor();

    quint32 m_BackColor = DefaultBackColor;

    QPixmap img;
    bool m_CaptionPressed = false; // a left press on the caption awaits its release
};
