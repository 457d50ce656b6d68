#include "info/open_address.h"

#include "tables/file_routines.h"

namespace parvex {

Open_Result Open_Address(const QString& address) {
    const Document_Target t = Classify_Link(address.toStdString());
    switch (t.kind) {
    case Document_Kind::Nothing:
        return {};
    case Document_Kind::Web_Address:
    case Document_Kind::Mail_Address:
        return Open_Document(address);
    case Document_Kind::Local_File:
    case Document_Kind::Refused:
        break;
    }
    return {
        false,
        QStringLiteral("\"%1\" is not opened: %2.").arg(address, QString::fromStdString(t.reason))};
}

} // namespace parvex
