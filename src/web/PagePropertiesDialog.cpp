// The Properties dialog of a page and what the page tells about its document.
#include "web/PagePropertiesDialog.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPointer>
#include <QPushButton>
#include <QVBoxLayout>
#include <QWebEnginePage>
#include <QWebEngineScript>

namespace {

QString notAvailable()
{
    return PagePropertiesDialog::tr("Not available");
}

// Runs in the page's own isolated world, so the page's scripts cannot
// change the answer.
const char DocumentQuery[] = R"((function () {
    var nav = performance.getEntriesByType('navigation')[0];
    return { type: document.contentType, encoding: document.characterSet,
             size: nav ? nav.decodedBodySize : -1 };
})())";

} // namespace

PagePropertiesDialog::PagePropertiesDialog(const QString &title, const QUrl &url, QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("PagePropertiesDialog"));
    setWindowTitle(tr("Properties"));

    auto *column = new QVBoxLayout(this);
    m_form = new QFormLayout;
    m_form->setFieldGrowthPolicy(QFormLayout::AllNonFixedFieldsGrow);
    column->addLayout(m_form);

    addRow(tr("Title:"), QStringLiteral("lblTitle"), title.isEmpty() ? notAvailable() : title);
    // An address rarely has a blank to break at: it scrolls in its own box.
    auto *address = new QLineEdit(url.toString(), this);
    address->setObjectName(QStringLiteral("lblAddress"));
    address->setReadOnly(true);
    address->setFrame(false);
    address->setCursorPosition(0);
    address->setBackgroundRole(QPalette::Window);
    m_form->addRow(tr("Address:"), address);
    addRow(tr("Protocol:"), QStringLiteral("lblProtocol"), protocolText(url));
    addRow(tr("Security:"), QStringLiteral("lblSecurity"), securityText(url));
    addRow(tr("Type:"), QStringLiteral("lblType"), notAvailable());
    addRow(tr("Encoding:"), QStringLiteral("lblEncoding"), notAvailable());
    addRow(tr("Size:"), QStringLiteral("lblSize"), notAvailable());

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    buttons->button(QDialogButtonBox::Ok)->setObjectName(QStringLiteral("cmdOK"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    column->addWidget(buttons);
    setMinimumWidth(420);
}

QLabel *PagePropertiesDialog::addRow(const QString &caption, const QString &objectName,
                                     const QString &text)
{
    auto *label = new QLabel(text, this);
    label->setObjectName(objectName);
    label->setTextFormat(Qt::PlainText);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    // Only the title is long prose; a wrapped label in a form gets a height
    // for the width it had before its text changed.
    label->setWordWrap(objectName == QLatin1String("lblTitle"));
    m_form->addRow(caption, label);
    return label;
}

QString PagePropertiesDialog::field(const QString &objectName) const
{
    if (const auto *label = findChild<QLabel *>(objectName))
        return label->text();
    if (const auto *box = findChild<QLineEdit *>(objectName))
        return box->text();
    return QString();
}

void PagePropertiesDialog::queryDocument(QWebEnginePage *page)
{
    QPointer<PagePropertiesDialog> self(this);
    page->runJavaScript(QString::fromLatin1(DocumentQuery), QWebEngineScript::ApplicationWorld,
                        [self](const QVariant &result) {
                            if (self)
                                self->setDocumentInfo(result.toMap());
                        });
}

void PagePropertiesDialog::setDocumentInfo(const QVariantMap &info)
{
    auto set = [this](const char *name, const QString &text) {
        if (auto *label = findChild<QLabel *>(QLatin1String(name)))
            label->setText(text.isEmpty() ? notAvailable() : text);
    };
    set("lblType", info.value(QStringLiteral("type")).toString());
    set("lblEncoding", info.value(QStringLiteral("encoding")).toString());
    const QVariant size = info.value(QStringLiteral("size"));
    set("lblSize", size.isValid() ? sizeText(size.toLongLong()) : QString());
}

QString PagePropertiesDialog::protocolText(const QUrl &url)
{
    const QString scheme = url.scheme().toLower();
    if (scheme == QLatin1String("http"))
        return tr("HyperText Transfer Protocol (HTTP)");
    if (scheme == QLatin1String("https"))
        return tr("HyperText Transfer Protocol with Privacy (HTTPS)");
    if (scheme == QLatin1String("file"))
        return tr("File on this computer");
    if (scheme == QLatin1String("data"))
        return tr("Data address (the page is in the address itself)");
    if (scheme.isEmpty())
        return notAvailable();
    return scheme.toUpper();
}

QString PagePropertiesDialog::securityText(const QUrl &url)
{
    const QString scheme = url.scheme().toLower();
    // A bad certificate never gets this far: the load fails instead.
    if (scheme == QLatin1String("https"))
        return tr("Encrypted: the connection to this site is private");
    if (scheme == QLatin1String("http"))
        return tr("Not encrypted: others on the network can see this page");
    return tr("Not applicable (no connection to a site)");
}

QString PagePropertiesDialog::sizeText(qint64 bytes)
{
    if (bytes <= 0)
        return QString();
    return tr("%1 bytes").arg(QLocale().toString(bytes));
}
