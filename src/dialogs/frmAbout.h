// The about box (Help > About): title, version, description and disclaimer,
// and a button that starts the platform's System Information tool where
// there is one.
#pragma once

#include "platform/SystemRegistry.h"

#include <QDialog>

class QFrame;
class QLabel;
class QPushButton;

class frmAbout : public QDialog
{
    Q_OBJECT
public:
    explicit frmAbout(QWidget *parent = nullptr);

    static const QString AppTitle; // "Corvane"
    static const QString DisclaimerText;
    // "Version " + major.minor.revision of the application version.
    static QString VersionText();

    // Reads one registry value as text; on failure *KeyVal is emptied.
    static bool GetKeyValue(SystemRegistry::Key KeyRoot, const QString &KeyName,
                            const QString &SubKeyRef, QString *KeyVal);

public slots:
    void cmdOK_Click();
    void cmdSysInfo_Click();
    void StartSysInfo();

private:
    void Form_Load();

    QLabel *Image1;
    QLabel *lblTitle;
    QLabel *lblVersion;
    QLabel *lblDescription;
    QFrame *Line1[2];
    QLabel *lblDisclaimer;
    QPushButton *cmdOK;
    QPushButton *cmdSysInfo;
};
