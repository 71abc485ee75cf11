// What GO! lists and shows for a typed text, and what the history file keeps.
#include "store/AddressRules.h"

#include <QtTest>

class TestAddressRules : public QObject
{
    Q_OBJECT
private slots:
    void completesTypedText_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("completed");
        QTest::addColumn<QString>("box");

        // As the address box has always behaved.
        QTest::newRow("bare host") << "site.tld"
                                   << "http://www.site.tld"
                                   << "site.tld";
        QTest::newRow("www host") << "www.site.tld"
                                  << "http://www.site.tld"
                                  << "www.site.tld";
        QTest::newRow("http host") << "http://site.tld"
                                   << "http://site.tld"
                                   << "site.tld";
        QTest::newRow("http www host") << "http://www.site.tld"
                                       << "http://www.site.tld"
                                       << "http://www.site.tld";
        QTest::newRow("http wwwhost") << "http://wwwsite.tld"
                                      << "http://wwwsite.tld"
                                      << "http://wwwsite.tld";
        QTest::newRow("path kept") << "site.tld/a?b#c"
                                   << "http://www.site.tld/a?b#c"
                                   << "site.tld/a?b#c";
        QTest::newRow("empty") << ""
                               << "http://www."
                               << "";

        // A scheme of its own is complete as it stands.
        QTest::newRow("https") << "https://site.tld"
                               << "https://site.tld"
                               << "https://site.tld";
        QTest::newRow("HTTPS") << "HTTPS://site.tld"
                               << "HTTPS://site.tld"
                               << "HTTPS://site.tld";
        QTest::newRow("ftp") << "ftp://files.tld/x"
                             << "ftp://files.tld/x"
                             << "ftp://files.tld/x";
        QTest::newRow("about") << "about:blank"
                               << "about:blank"
                               << "about:blank";
        QTest::newRow("file") << "file:///tmp/a.html"
                              << "file:///tmp/a.html"
                              << "file:///tmp/a.html";
        QTest::newRow("File one slash") << "File:/tmp/a.html"
                                        << "File:/tmp/a.html"
                                        << "File:/tmp/a.html";
        QTest::newRow("data") << "data:text/html,hi"
                              << "data:text/html,hi"
                              << "data:text/html,hi";
        QTest::newRow("other name://") << "git+ssh://h/r"
                                       << "git+ssh://h/r"
                                       << "git+ssh://h/r";

        // "http://" and "www." whatever their case.
        QTest::newRow("WWW host") << "WWW.site.tld"
                                  << "http://WWW.site.tld"
                                  << "WWW.site.tld";
        QTest::newRow("HTTP host") << "HTTP://site.tld"
                                   << "HTTP://site.tld"
                                   << "site.tld";
        QTest::newRow("Http Www host") << "Http://Www.site.tld"
                                       << "Http://Www.site.tld"
                                       << "Http://Www.site.tld";

        // No "www." before a numeric or local host.
        QTest::newRow("IPv4 with port and path") << "127.0.0.1:8080/x"
                                                 << "http://127.0.0.1:8080/x"
                                                 << "127.0.0.1:8080/x";
        QTest::newRow("http IPv4") << "http://10.0.0.1"
                                   << "http://10.0.0.1"
                                   << "10.0.0.1";
        QTest::newRow("localhost") << "localhost:3000"
                                   << "http://localhost:3000"
                                   << "localhost:3000";
        QTest::newRow("LocalHost") << "LocalHost/x"
                                   << "http://LocalHost/x"
                                   << "LocalHost/x";
        QTest::newRow("IPv6") << "[::1]:8080/"
                              << "http://[::1]:8080/"
                              << "[::1]:8080/";
        QTest::newRow("not an IPv4") << "256.1.1.1"
                                     << "http://www.256.1.1.1"
                                     << "256.1.1.1";
        QTest::newRow("three numbers") << "1.2.3"
                                       << "http://www.1.2.3"
                                       << "1.2.3";
        QTest::newRow("host with port") << "site.tld:81"
                                        << "http://www.site.tld:81"
                                        << "site.tld:81";
        QTest::newRow("localhost lookalike") << "localhost.tld"
                                             << "http://www.localhost.tld"
                                             << "localhost.tld";
        QTest::newRow("bad IPv6") << "[zz]"
                                  << "http://www.[zz]"
                                  << "[zz]";
    }
    void completesTypedText()
    {
        QFETCH(QString, typed);
        QFETCH(QString, completed);
        QFETCH(QString, box);
        QCOMPARE(AddressRules::completeAddress(typed), completed);
        QCOMPARE(AddressRules::boxText(typed), box);
    }

    void historyEntries_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("entry");

        QTest::newRow("bare host") << "site.tld"
                                   << "http://www.site.tld/";
        QTest::newRow("www host") << "www.site.tld"
                                  << "http://www.site.tld/";
        QTest::newRow("http host gets www") << "http://site.tld"
                                            << "http://www.site.tld/";
        QTest::newRow("http www host") << "http://www.site.tld"
                                       << "http://www.site.tld/";
        QTest::newRow("http wwwhost") << "http://wwwsite.tld"
                                      << "http://www.wwwsite.tld/";

        // The "/" only after a bare host, and never twice.
        QTest::newRow("slash not doubled") << "http://www.site.tld/"
                                           << "http://www.site.tld/";
        QTest::newRow("bare host with slash") << "site.tld/"
                                              << "http://www.site.tld/";
        QTest::newRow("path") << "site.tld/a/b"
                              << "http://www.site.tld/a/b";
        QTest::newRow("folder path") << "site.tld/a/"
                                     << "http://www.site.tld/a/";
        QTest::newRow("query") << "site.tld?q=1"
                               << "http://www.site.tld?q=1";
        QTest::newRow("fragment") << "site.tld#top"
                                  << "http://www.site.tld#top";
        QTest::newRow("six characters") << "abc.de"
                                        << "http://www.abc.de/";
        QTest::newRow("port") << "site.tld:81"
                              << "http://www.site.tld:81/";

        // Case of "http://" and "www." does not matter.
        QTest::newRow("HTTP host") << "HTTP://site.tld"
                                   << "http://www.site.tld/";
        QTest::newRow("WWW host") << "WWW.site.tld"
                                  << "http://WWW.site.tld/";
        QTest::newRow("HTTP WWW host") << "HTTP://WWW.site.tld"
                                       << "HTTP://WWW.site.tld/";

        // Another scheme is stored as it stands.
        QTest::newRow("https") << "https://site.tld"
                               << "https://site.tld";
        QTest::newRow("https path") << "https://site.tld/a"
                                    << "https://site.tld/a";
        QTest::newRow("ftp") << "FTP://files.tld"
                             << "FTP://files.tld";
        QTest::newRow("about") << "about:blank"
                               << "about:blank";
        QTest::newRow("file") << "file:///home/a.html"
                              << "file:///home/a.html";

        // Numeric and local hosts.
        QTest::newRow("IPv4") << "127.0.0.1"
                              << "http://127.0.0.1/";
        QTest::newRow("IPv4 port path") << "127.0.0.1:8080/x"
                                        << "http://127.0.0.1:8080/x";
        QTest::newRow("http IPv4 port") << "http://127.0.0.1:8080"
                                        << "http://127.0.0.1:8080/";
        QTest::newRow("localhost") << "localhost"
                                   << "http://localhost/";
        QTest::newRow("LOCALHOST port") << "LOCALHOST:3000"
                                        << "http://LOCALHOST:3000/";
        QTest::newRow("http localhost") << "http://localhost/a"
                                        << "http://localhost/a";
        QTest::newRow("IPv6") << "[::1]"
                              << "http://[::1]/";
        QTest::newRow("IPv6 port path") << "[fe80::1]:8080/a"
                                        << "http://[fe80::1]:8080/a";
        QTest::newRow("user at IPv4") << "me@10.0.0.2"
                                      << "http://me@10.0.0.2/";
    }
    void historyEntries()
    {
        QFETCH(QString, text);
        QFETCH(QString, entry);
        QCOMPARE(AddressRules::historyEntry(text), entry);
    }

    void recognisesSchemes_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("scheme");
        QTest::newRow("https") << "https://x" << true;
        QTest::newRow("Ftp") << "Ftp://x" << true;
        QTest::newRow("ABOUT") << "ABOUT:blank" << true;
        QTest::newRow("file") << "file:C:/x" << true;
        QTest::newRow("javascript") << "javascript:void(0)" << true;
        QTest::newRow("mailto") << "mailto:a@b.tld" << true;
        QTest::newRow("view-source") << "view-source:http://x" << true;
        QTest::newRow("host and port") << "localhost:8080" << false;
        QTest::newRow("dotted host and port") << "site.tld:81/x" << false;
        QTest::newRow("one slash") << "abc:/x" << false;
        QTest::newRow("starts with digit") << "1ab://x" << false;
        QTest::newRow("bare host") << "site.tld" << false;
        QTest::newRow("empty") << "" << false;
        QTest::newRow("only separator") << "://x" << false;
    }
    void recognisesSchemes()
    {
        QFETCH(QString, text);
        QFETCH(bool, scheme);
        QCOMPARE(AddressRules::hasScheme(text), scheme);
    }
};

QTEST_MAIN(TestAddressRules)
#include "tst_addressrules.moc"
