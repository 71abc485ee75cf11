// Whether this program is a private browser: one that reads what Corvane
// keeps (home page, favourites, zoom levels, answers given to sites) but
// writes none of what it sees (typed addresses, visited pages, tabs, zoom,
// answers, cookies and site storage). Favourites added by hand are the one
// exception: adding one is an explicit act. Set once, at start-up.
#pragma once

class PrivateMode
{
public:
    static bool isOn();
    static void setOn(bool on);
};
