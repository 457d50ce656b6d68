#include "platform/open_document.h"

#include "tables/file_routines.h"

#include <QDesktopServices>

namespace parvex {

namespace {

std::function<bool(const QUrl&)>& opener() {
    static std::function<bool(const QUrl&)> instance;
    return instance;
}

} // namespace

void Set_Document_Opener(std::function<bool(const QUrl&)> fn) {
    opener() = std::move(fn);
}

Open_Result Open_Document(const QString& path) {
    const Document_Target t = Classify_Document(path.toStdString());
    QUrl url;
    switch (t.kind) {
    case Document_Kind::Nothing:
        return {};
    case Document_Kind::Refused:
        return {false, QStringLiteral("\"%1\" is not opened: %2.")
                           .arg(path, QString::fromStdString(t.reason))};
    case Document_Kind::Web_Address:
    case Document_Kind::Mail_Address:
        url = QUrl(QString::fromStdString(t.target), QUrl::StrictMode);
        if (!url.isValid())
            return {false, QStringLiteral("\"%1\" is not a valid address.").arg(path)};
        break;
    case Document_Kind::Local_File:
        url = QUrl::fromLocalFile(QString::fromStdString(t.target));
        break;
    }
    const bool opened = opener() ? opener()(url) : QDesktopServices::openUrl(url);
    if (!opened)
        return {false, QStringLiteral("\"%1\" could not be opened.").arg(path)};
    return {};
}

} // namespace parvex
