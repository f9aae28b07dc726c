#include "print/listing_sheet_rows.h"

#include "print/preview_lines.h"

#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>
#include <vector>

namespace {

constexpr std::size_t kBatchRows = 512;
constexpr std::size_t kBatchesAhead = 4;

} // namespace

ListingSheetRows::ListingSheetRows(const PreviewLines &lines)
    : lines_(lines)
{
    const auto noRows = [](const SheetRow &) {};
    while (firstRow_ < lines_.lineCount() && !reader_.hasHeading())
        reader_.read(lines_.row(firstRow_++), noRows);
}

void ListingSheetRows::forEach(const std::function<void(const SheetRow &)> &visit)
{
    if (!hasHeading())
        return;
    std::mutex mutex;
    std::condition_variable changed;
    std::deque<std::vector<SheetRow>> ready;
    bool finished = false;

    std::thread readAhead([&, reader = reader_]() mutable {
        std::vector<SheetRow> batch;
        const auto handOver = [&] {
            std::unique_lock lock(mutex);
            changed.wait(lock, [&] { return ready.size() < kBatchesAhead; });
            ready.push_back(std::move(batch));
            batch.clear();
            changed.notify_all();
        };
        const std::function<void(const SheetRow &)> keep = [&](const SheetRow &row) { batch.push_back(row); };
        for (qsizetype at = firstRow_; at < lines_.lineCount(); ++at) {
            reader.read(lines_.row(at), keep);
            if (batch.size() >= kBatchRows)
                handOver();
        }
        if (!batch.empty())
            handOver();
        std::lock_guard lock(mutex);
        finished = true;
        changed.notify_all();
    });

    for (;;) {
        std::vector<SheetRow> batch;
        {
            std::unique_lock lock(mutex);
            changed.wait(lock, [&] { return !ready.empty() || finished; });
            if (ready.empty())
                break;
            batch = std::move(ready.front());
            ready.pop_front();
            changed.notify_all();
        }
        for (const SheetRow &row : batch)
            visit(row);
    }
    readAhead.join();
}
