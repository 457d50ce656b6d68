#include "window/text_list_model.h"

#include <QByteArray>
#include <QStringDecoder>
#include <algorithm>

namespace parvex {

TextListModel::TextListModel(QObject* parent) : QAbstractListModel(parent) {}

void TextListModel::setLines(TextList lines) {
    beginResetModel();
    lines_ = std::move(lines);
    measure();
    endResetModel();
}

void TextListModel::swapLines(TextList& lines) {
    beginResetModel();
    lines_.swap(lines);
    measure();
    endResetModel();
}

void TextListModel::clear() {
    if (lines_.empty())
        return;
    beginResetModel();
    TextList().swap(lines_);
    measure();
    endResetModel();
}

void TextListModel::setTabWidth(int width) {
    width = std::max(1, width);
    if (width == tab_width_)
        return;
    beginResetModel();
    tab_width_ = width;
    measure();
    endResetModel();
}

void TextListModel::setFirstColumnLimit(int columns) {
    columns = std::clamp(columns, minFirstColumn, maxFirstColumn);
    if (columns == first_column_limit_)
        return;
    first_column_limit_ = columns;
    if (!align_first_)
        return;
    // Only the look of the lines changes: selection and scroll position stay.
    emit layoutAboutToBeChanged();
    measure();
    emit layoutChanged();
    if (!lines_.empty())
        emit dataChanged(index(0), index(count() - 1), {Qt::DisplayRole});
}

void TextListModel::setAlignFirstColumn(bool on) {
    if (on == align_first_)
        return;
    beginResetModel();
    align_first_ = on;
    measure();
    endResetModel();
}

// One pass over the bytes: the common first tab stop and the widest expanded line. Lines may be
// many (100,000 and more), so nothing here decodes text.
void TextListModel::measure() {
    int widest_item = -1;
    bool overlong = false;
    if (align_first_) {
        for (const std::string& line : lines_) {
            const auto tab = line.find('\t');
            if (tab == std::string::npos)
                continue;
            // An item too long for the limit does not widen the column: it is cut to fit.
            if (static_cast<int>(tab) + 2 <= first_column_limit_)
                widest_item = std::max(widest_item, static_cast<int>(tab));
            else
                overlong = true;
        }
    }
    // Two blanks at least between an item and its first number, then the next regular stop,
    // but never past the limit.
    if (widest_item >= 0)
        first_tab_column_ = std::min(((widest_item + 2 + tab_width_ - 1) / tab_width_) * tab_width_,
                                     first_column_limit_);
    else
        first_tab_column_ = overlong ? first_column_limit_ : 0;

    int widest = 0;
    for (const std::string& line : lines_) {
        int col = 0;
        bool first = true;
        for (char c : line) {
            if (c != '\t') {
                ++col;
                continue;
            }
            if (first && first_tab_column_ > 0)
                col = first_tab_column_; // a longer item is cut to fit before it
            else
                col = (col / tab_width_ + 1) * tab_width_;
            first = false;
        }
        widest = std::max(widest, col);
    }
    max_columns_ = widest;
}

QString TextListModel::decode(const std::string& bytes) {
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8.decode(QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size())));
    if (!utf8.hasError())
        return text;
    return QString::fromLatin1(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

QString TextListModel::expandTabs(const QString& text, int tab_width, int first_stop) {
    if (!text.contains(QLatin1Char('\t')))
        return text;
    tab_width = std::max(1, tab_width);
    QString out;
    out.reserve(text.size() + 4 * tab_width);
    bool first = true;
    for (QChar c : text) {
        if (c != QLatin1Char('\t')) {
            out += c;
            continue;
        }
        const int col = static_cast<int>(out.size());
        const int stop = first && first_stop > col ? first_stop : (col / tab_width + 1) * tab_width;
        out += QString(stop - col, QLatin1Char(' '));
        first = false;
    }
    return out;
}

QString TextListModel::displayText(int row) const {
    if (row < 0 || row >= count())
        return {};
    QString text = decode(lines_[static_cast<std::size_t>(row)]);
    // A literal of several lines is one item: its line breaks show as a mark on its one row,
    // which keeps the number of its line in sight.
    if (text.contains(QLatin1Char('\r')) || text.contains(QLatin1Char('\n'))) {
        text.replace(QStringLiteral("\r\n"), QString(QChar(0x21B5)));
        text.replace(QLatin1Char('\r'), QChar(0x21B5));
        text.replace(QLatin1Char('\n'), QChar(0x21B5));
    }
    if (first_tab_column_ > 0) {
        // An item too long for the first column ends in "…" two blanks before the numbers.
        const qsizetype tab = text.indexOf(QLatin1Char('\t'));
        const int room = first_tab_column_ - 2;
        if (tab > room)
            text = text.left(room - 1) + QChar(0x2026) + text.mid(tab);
    }
    return expandTabs(text, tab_width_, first_tab_column_);
}

int TextListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : count();
}

QVariant TextListModel::data(const QModelIndex& index, int role) const {
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return {};
    const std::string& line = lines_[static_cast<std::size_t>(index.row())];
    switch (role) {
    case Qt::DisplayRole:
        return displayText(index.row());
    case BytesRole:
        return QByteArray(line.data(), static_cast<qsizetype>(line.size()));
    default:
        return {};
    }
}

Qt::ItemFlags TextListModel::flags(const QModelIndex& index) const {
    if (!index.isValid())
        return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren;
}

} // namespace parvex
