// The Properties dialog of a page: its title, address, protocol and
// security, and what the page itself tells about its document (type,
// character set, size). OK closes it.
#pragma once

#include <QDialog>
#include <QUrl>
#include <QVariantMap>

class QLabel;
class QWebEnginePage;

class PagePropertiesDialog : public QDialog
{
    Q_OBJECT
public:
    PagePropertiesDialog(const QString &title, const QUrl &url, QWidget *parent = nullptr);

    // Asks the page for what only its document knows and fills it in when
    // the answer comes; the dialog may be gone by then.
    void queryDocument(QWebEnginePage *page);
    // Fills the document rows from the page's answer: "type", "encoding" and
    // "size" (bytes; 0 or less when the page cannot tell).
    void setDocumentInfo(const QVariantMap &info);

    static QString protocolText(const QUrl &url);
    static QString securityText(const QUrl &url);
    static QString sizeText(qint64 bytes);

    QString field(const QString &objectName) const;

private:
    QLabel *addRow(const QString &caption, const QString &objectName, const QString &text);
    class QFormLayout *m_form = nullptr;
};
