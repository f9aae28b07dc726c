#pragma once

#include "store/table.h"

#include <QList>

struct LedgerContext;
class DocumentCommands;
class DocumentNumbering;

// "Kopiuj": the selected documents (or the current one) are copied into the desk's last report,
// which must be open: new numbers in the target's sequences, today's date, everything else of
// the header and the lines as it was. One transaction for all of them.
class DocumentCopy {
public:
    DocumentCopy(LedgerContext &context, DocumentCommands &documents, DocumentNumbering &numbering);

    // The selection is given as rows of TNAG; empty means the current document. A settlement
    // under the cursor is not copied.
    void copyDocuments(const QList<Bookmark> &selected = {});

private:
    void copyDocument();

    LedgerContext &context_;
    DocumentCommands &documents_;
    DocumentNumbering &numbering_;
};
