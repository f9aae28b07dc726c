#include "contractors/envelope_form.h"

#include "contractors/envelope_layout.h"

std::unique_ptr<ReportForm> CreateEnvelopeForm(const FormRecord &contractor)
{
    auto form = std::make_unique<ReportForm>(QStringLiteral("Etykieta"));
    form->page.paper = PaperSize::Letter; // "Note" paper is the same 8.5 by 11 inches
    form->page.orientation = PageOrientation::Landscape;
    form->page.margins = FormMargins{kEnvelopeFixedMarginMm, kEnvelopeFixedMarginMm, kEnvelopeFixedMarginMm,
                                     kEnvelopeFixedMarginMm};
    form->records.insert(QStringLiteral("KONTRAHI"), &contractor);
    FormBand &band = form->addBand(BandKind::Title, kEnvelopeBandHeightMm, QStringLiteral("Adres"));
    for (const EnvelopeLine &line : EnvelopeAddressLines()) {
        // Each line is as long as its text and wraps at the band's edge; its place is fixed (the
        // first line's top), so an empty line leaves its room empty.
        FormElement text = DataText(QStringLiteral("KONTRAHI"), line.field, line.leftMm, line.topMm,
                                    kEnvelopeBandWidthMm - line.leftMm, FormFont{line.fontFamily, double(line.pointSize), line.bold});
        text.name = line.field;
        text.wordWrap = true;
        text.linesFromTop = true;
        text.height = kEnvelopeBandHeightMm - line.topMm;
        band.add(std::move(text));
    }
    return form;
}

void ApplyEnvelopeMargins(ReportForm &form, const EnvelopeMargins &margins)
{
    form.page.margins.top = margins.top;
    form.page.margins.left = margins.left;
}

EnvelopePrintout::EnvelopePrintout(const Table &contractors, FormOutput &output, QString marginsFile)
    : output_(output)
    , marginsFile_(std::move(marginsFile))
    , contractor_(std::make_unique<TableRecord>(contractors))
{
}

EnvelopePrintout::~EnvelopePrintout() = default;

void EnvelopePrintout::print()
{
    if (!form_)
        form_ = CreateEnvelopeForm(*contractor_);
    margins_ = MarginsForPrinting(marginsFile_, margins_);
    ApplyEnvelopeMargins(*form_, margins_);
    output_.print(*form_);
}
