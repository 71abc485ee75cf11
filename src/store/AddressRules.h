// What a typed address means: the completion that GO! lists, the text it
// leaves in the address box, and the entry that the history file keeps.
// Pure functions, so the rules can be checked without a window.
#pragma once

#include <QString>

class AddressRules
{
public:
    // True when the text begins with a scheme of its own: any "name://"
    // (http, https, ftp, ...) or one of the schemes written without slashes
    // (about:, file:, data:, javascript:, mailto:, view-source:). Case is
    // ignored. "localhost:8080" and "site.tld:81" are host and port, not
    // schemes.
    static bool hasScheme(const QString &text);

    // True when the host of the address (after an optional "http://") is an
    // IPv4 address, a bracketed IPv6 address or "localhost"; no "www." is
    // ever put in front of those.
    static bool isLocalOrNumericHost(const QString &text);

    // The entry AddToHistory writes for a text: completed to an http address
    // and ending in "/" when it names a bare host; a text with another scheme
    // is kept exactly as it stands.
    static QString historyEntry(const QString &text);

    // The completed address GO! appends to the address list.
    static QString completeAddress(const QString &typed);

    // The text GO! leaves in the address box and opens: a leading "http://"
    // is dropped unless "www" follows it.
    static QString boxText(const QString &typed);
};
