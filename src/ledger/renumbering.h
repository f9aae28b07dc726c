#pragma once

#include <QString>

struct LedgerContext;
class DocumentTotals;
class RenumberDialog;

// Renumbering the documents of the current report: their places (POZ) by date, by entry or
// backwards from a number, and their places and numbers (NRD) by date. Only in an open report;
// each command is one transaction: it is done whole or not at all.
class Renumbering {
public:
    Renumbering(LedgerContext &context, DocumentTotals &totals);

    // "Przenumeruj pozycje raportu wg daty": places 1, 2, ... in date order (ties by number).
    void renumberPlacesByDate();
    // "Przenumeruj pozycje raportu wg wpisu": places 1, 2, ... in the order of entry.
    void renumberPlacesByEntry();
    // "Przenumeruj od pozycji": the last document (in the list's current order) takes the entered
    // number, the ones before it count down from there.
    void renumberPlacesBackwards(RenumberDialog &dialog);
    // "Przenumeruj dokumenty i pozycje wg daty": places by date, and within KP, KW, RZ and WZ the
    // numbers from a start number asked at the first document of each kind, lines moved along.
    // Not offered when numbers run across all desks.
    void renumberDocumentsAndPlacesByDate(RenumberDialog &dialog);

private:
    void renumberPlaces(const QString &order);

    LedgerContext &context_;
    DocumentTotals &totals_;
};
