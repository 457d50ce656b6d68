#include "language/mnemonics.h"

#include "language/mnemonic_letters.h"
#include "widgets/speed_button.h"

#include <QAbstractButton>
#include <QKeySequence>
#include <QTabWidget>

#include <utility>
#include <vector>

namespace parvex {

namespace {

// The pages a widget lies on, each with the page control that shows it, innermost first.
using Tab_Chain = std::vector<std::pair<const QTabWidget*, const QWidget*>>;

Tab_Chain tab_chain(const QWidget* w) {
    Tab_Chain chain;
    for (const QWidget* p = w; p; p = p->parentWidget()) {
        const QWidget* stack = p->parentWidget();
        auto* pc = stack ? qobject_cast<const QTabWidget*>(stack->parentWidget()) : nullptr;
        if (pc && pc->indexOf(const_cast<QWidget*>(p)) >= 0)
            chain.emplace_back(pc, p);
    }
    return chain;
}

// Two widgets can be seen together unless one page control shows them on different pages.
bool shown_together(const Tab_Chain& a, const Tab_Chain& b) {
    for (const auto& [pc, page] : a)
        for (const auto& [other_pc, other_page] : b)
            if (pc == other_pc && page != other_page)
                return false;
    return true;
}

// The letter of an Alt + letter (or digit) key, 0 for any other key.
char alt_letter(const QKeySequence& key) {
    if (key.count() != 1 || key[0].keyboardModifiers() != Qt::AltModifier)
        return 0;
    const int k = key[0].key();
    if ((k >= Qt::Key_A && k <= Qt::Key_Z) || (k >= Qt::Key_0 && k <= Qt::Key_9))
        return static_cast<char>(k);
    return 0;
}

} // namespace

void Assign_Mnemonics(QWidget* window) {
    if (!window)
        return;
    std::vector<QAbstractButton*> buttons;
    std::vector<Mnemonic_Item> items;
    for (QAbstractButton* b : window->findChildren<QAbstractButton*>()) {
        auto* speed = qobject_cast<SpeedButton*>(b);
        if (speed && !speed->preferredMnemonic().isNull()) {
            items.push_back({speed->text().toStdString(),
                             static_cast<char>(speed->preferredMnemonic().toLatin1()), false});
        } else if (const char fixed = alt_letter(b->shortcut())) {
            items.push_back({std::string(), fixed, true});
        } else {
            continue;
        }
        buttons.push_back(b);
    }
    std::vector<Tab_Chain> chains;
    for (QAbstractButton* b : buttons)
        chains.push_back(tab_chain(b));
    std::vector<std::vector<int>> conflicts(buttons.size());
    for (std::size_t i = 0; i < buttons.size(); ++i)
        for (std::size_t j = 0; j < buttons.size(); ++j)
            if (i != j && shown_together(chains[i], chains[j]))
                conflicts[i].push_back(static_cast<int>(j));
    const std::vector<char> letters = Choose_Mnemonics(items, conflicts);
    for (std::size_t i = 0; i < buttons.size(); ++i)
        if (!items[i].fixed)
            static_cast<SpeedButton*>(buttons[i])
                ->useMnemonic(letters[i] ? QChar::fromLatin1(letters[i]) : QChar());
}

} // namespace parvex
