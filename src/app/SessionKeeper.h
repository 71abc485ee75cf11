// Keeps the window's session on disk: after every change (a load finished,
// a tab opened, closed or selected) the open tabs with their history are
// saved within a second, at most once a second, off the keystroke and paint
// path; a clean end is marked so the next start knows whether it follows a
// crash. Only the program holding the session file's lock reads or writes it.
#pragma once

#include "store/SessionFile.h"

#include <QElapsedTimer>
#include <QLockFile>
#include <QObject>
#include <QTimer>

#include <memory>
#include <optional>

class SessionWriter;
class TabSet;

class SessionKeeper : public QObject
{
    Q_OBJECT
public:
    static constexpr int SaveIntervalMs = 1000;

    // Takes the session file's lock and reads what the last session left.
    SessionKeeper(TabSet *tabs, QObject *parent);
    ~SessionKeeper() override;

    static QString filePath();
    // Settings store, group Session, key RestoreAtStart: "true" restores the
    // last session at every start; anything else (or nothing) does not.
    static bool restoreAtStart();

    // False when another Corvane keeps this session: this one keeps none.
    bool owner() const { return m_lock && m_lock->isLocked(); }
    // The last session read at start-up, if there was one with tabs.
    const std::optional<Session> &previous() const { return m_previous; }
    // A line for the status bar when the file could not be read, else empty.
    QString readProblem() const { return m_readProblem; }

    // Starts saving after each change.
    void start();
    // While held, the file of the last session stays as it is until this
    // session holds more than its untouched first tab.
    void setHoldPrevious(bool hold);
    // Whether the window still shows only its first tab, never navigated
    // away from its first page.
    bool untouched() const;
    // What the window holds now.
    Session capture(bool cleanEnd) const;
    // The cost of one save on the main thread: capture and encode.
    QByteArray encodeNow() const { return SessionFile::encode(capture(false)); }

public slots:
    // Some part of the session changed: save soon.
    void changed();
    // Saves now, marked as a clean end. finish() also stops all later saves,
    // as the program is ending; markCleanEnd() (the desktop's logout asking
    // for our data) lets them go on, should the logout be cancelled.
    void finish();
    void markCleanEnd();

signals:
    void statusText(const QString &text);

private:
    void readPrevious();
    void watchTab(int index);
    void save();

    TabSet *m_tabs;
    std::unique_ptr<QLockFile> m_lock;
    SessionWriter *m_writer = nullptr;
    std::optional<Session> m_previous;
    QString m_readProblem;
    QTimer m_timer;
    QElapsedTimer m_sinceSave;
    bool m_started = false;
    bool m_finished = false;
    bool m_hold = false;
};
