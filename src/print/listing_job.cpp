#include "print/listing_job.h"

#include "print/text_print_module.h"

ListingJob::ListingJob(TDRUK &druk, const QString &title, int rowsToScan)
    : druk_(druk)
{
    druk_.START(title, rowsToScan);
}

ListingJob::~ListingJob()
{
    if (!open_)
        return;
    try {
        druk_.STOP(false);
    } catch (...) {
    }
}

void ListingJob::line(const QString &text)
{
    druk_.PISZ(text);
}

void ListingJob::step()
{
    druk_.Postep();
}

void ListingJob::finish()
{
    open_ = false;
    druk_.STOP(true);
}
