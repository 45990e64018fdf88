#include "cli/batch.h"

#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>
#include <thread>

namespace cli {
namespace {

// The input a chunk holds, about: with rows near the length limit a chunk ends early.
constexpr std::size_t ChunkBytes = 256 * 1024;

struct Chunk
{
    std::vector<CsvRecord> records; // kept from one use to the next, so their memory is reused
    std::size_t count = 0;
    std::string out;
    bool failed = false;
    bool done = false; // guarded by the run's mutex when jobs run in threads
};

// The next records into the chunk; false when there were none.
bool fill(CsvReader &reader, Chunk &chunk, std::size_t rows)
{
    chunk.count = 0;
    chunk.out.clear();
    chunk.failed = chunk.done = false;
    std::size_t bytes = 0;
    while (chunk.count < rows && bytes < ChunkBytes) {
        if (chunk.records.size() == chunk.count)
            chunk.records.emplace_back();
        CsvRecord &record = chunk.records[chunk.count];
        if (!reader.next(record.fields, record.tooLong))
            break;
        record.line = reader.line();
        record.fieldCount = reader.fieldCount();
        for (const std::string &field : record.fields)
            bytes += field.size() + 1;
        ++chunk.count;
    }
    return chunk.count > 0;
}

} // namespace

bool runChunks(CsvReader &reader, const std::vector<ChunkJob> &jobs, std::size_t rowsPerChunk,
               const std::function<void(std::string_view text)> &write)
{
    bool failed = false;
    if (jobs.size() == 1) {
        Chunk chunk;
        while (fill(reader, chunk, rowsPerChunk)) {
            failed |= jobs.front()(chunk.records.data(), chunk.count, chunk.out);
            write(chunk.out);
        }
        return failed;
    }

    std::mutex mutex;
    std::condition_variable changed;
    std::deque<Chunk *> waiting; // read, not yet taken by a job
    bool closing = false;
    std::vector<std::thread> threads;
    for (const ChunkJob &job : jobs)
        threads.emplace_back([&, job = &job] {
            std::unique_lock lock(mutex);
            for (;;) {
                changed.wait(lock, [&] { return closing || !waiting.empty(); });
                if (waiting.empty())
                    return;
                Chunk *chunk = waiting.front();
                waiting.pop_front();
                lock.unlock();
                const bool chunkFailed = (*job)(chunk->records.data(), chunk->count, chunk->out);
                lock.lock();
                chunk->failed = chunkFailed;
                chunk->done = true;
                changed.notify_all();
            }
        });

    std::vector<std::unique_ptr<Chunk>> chunks;
    std::vector<Chunk *> unused;
    for (std::size_t i = 0; i < 2 * jobs.size() + 1; ++i)
        unused.push_back(chunks.emplace_back(std::make_unique<Chunk>()).get());
    std::deque<Chunk *> inOrder; // read and not yet written, in input order

    // Writes the chunks at the front that are done; with `wait`, the first one at least.
    const auto writeDone = [&](bool wait) {
        while (!inOrder.empty()) {
            {
                std::unique_lock lock(mutex);
                if (wait)
                    changed.wait(lock, [&] { return inOrder.front()->done; });
                if (!inOrder.front()->done)
                    return;
            }
            Chunk *first = inOrder.front();
            inOrder.pop_front();
            failed |= first->failed;
            write(first->out);
            unused.push_back(first);
            wait = false;
        }
    };
    for (;;) {
        if (unused.empty())
            writeDone(true);
        Chunk *chunk = unused.back();
        if (!fill(reader, *chunk, rowsPerChunk))
            break;
        unused.pop_back();
        inOrder.push_back(chunk);
        {
            const std::lock_guard lock(mutex);
            waiting.push_back(chunk);
        }
        changed.notify_all();
        writeDone(false);
    }
    while (!inOrder.empty())
        writeDone(true);
    {
        const std::lock_guard lock(mutex);
        closing = true;
    }
    changed.notify_all();
    for (std::thread &thread : threads)
        thread.join();
    return failed;
}

} // namespace cli
