#pragma once
// Every visible page of every page control of a window, so a test brings each combination a user
// can reach to the front at least once.

#include <QTabWidget>
#include <QWidget>

#include <vector>

namespace parvex::test {

inline std::vector<QWidget*> all_pages(QWidget* window) {
    std::vector<QWidget*> pages;
    for (QTabWidget* pc : window->findChildren<QTabWidget*>())
        for (int i = 0; i < pc->count(); ++i)
            if (pc->isTabVisible(i))
                pages.push_back(pc->widget(i));
    return pages;
}

} // namespace parvex::test
