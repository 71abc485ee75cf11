// An XP-style group frame: a thin light line with rounded corners, the caption breaking its top.
#pragma once

#include "controls/XpControl.h"

#include <QPixmap>

// The caption is blue at the top left; the box is a container, and dialogs
// place their own widgets inside it.
class xpgroupbox : public XpControl
{
    Q_OBJECT
    Q_PROPERTY(quint32 BackColor READ backColor WRITE setBackColor NOTIFY BackColorChanged)

public:
    // Colour values: r + 256*g + 65536*b, or a system colour by its index
    // with the top bit set.
    static constexpr quint32 DefaultBackColor = 65535; // yellow, until a dialog sets its own
    static constexpr quint32 ButtonFace = 0x8000000F;  // the dialog face
    // The Qt colour of a colour value; system colours come from palette.
    static QColor colorFromValue(quint32 value, const QPalette &palette);

    explicit xpgroupbox(QWidget *parent = nullptr);
    ~xpgroupbox() override;

    quint32 backColor() const { return m_BackColor; }
    void setBackColor(quint32 New_BackColor);

    // The property bag of a stored form: values equal to their defaults are
    // left out on writing, and missing keys give the defaults on reading.
    void writeProperties(QVariantMap &bag) const;
    void readProperties(const QVariantMap &bag);
    // Settings of a new instance: caption = objectName, enabled, ambient font, yellow.
    void initProperties();

signals:
    void DblClick();
    void BackColorChanged(quint32 color);

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void changeEvent(QEvent *event) override;
    void lbl_Change() override;
    bool clickArea(const MouseArgs &args) const override;
    void mouseEvent(QEvent::Type type, Qt::MouseButton button, MouseArgs &args) override;

private:
    void UserControl_Resize();
    void applyBackColor();

    quint32 m_BackColor = DefaultBackColor;

    QPixmap img;
};
