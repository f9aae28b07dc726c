#pragma once

#include <QStringList>

class QTextStream;

// "kasa --forms OUTDIR", started in a data tree's working folder: writes every graphic form to
// OUTDIR as PDF, each filled from a document of its kind (the receipt, payout, settlement and
// request forms), the cash report of the last report with its totals per account, and the
// monthly report of the last report's month. Meant for a demo tree, whose print options it sets
// so that the stamp, the settlement's copy and the accounts show. 0 on success.
int RunFormsExport(const QStringList &arguments, QTextStream &out, QTextStream &err);
