// What a main window has of the engine once it runs: desktop notifications,
// its downloads and their list, and the sleep of the tabs it does not show.
#pragma once

class DownloadManager;
class PageView;

class WindowEngine
{
public:
    virtual ~WindowEngine() = default;

    virtual DownloadManager *downloads() const = 0;
    // The downloads list, brought to the front (Ctrl+J).
    virtual void showDownloads() = 0;
    // Cancels the running downloads and removes their partial files.
    virtual void cancelDownloads() = 0;
    // The window is about to show view's tab: its page wakes.
    virtual void tabSelected(PageView *view) = 0;
};
