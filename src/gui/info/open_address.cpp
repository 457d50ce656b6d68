#include "info/open_address.h"

#include "tables/file_routines.h"

namespace parvex {

Open_Result Open_Address(const QString& address) {
    switch (Classify_Document(address.toStdString()).kind) {
    case Document_Kind::Nothing:
        return {};
    case Document_Kind::Web_Address:
    case Document_Kind::Mail_Address:
    case Document_Kind::Refused: // Open_Document gives the reason
        return Open_Document(address);
    case Document_Kind::Local_File:
        break;
    }
    return {false,
            QStringLiteral("\"%1\" is not opened: only web and mail addresses are.").arg(address)};
}

} // namespace parvex
