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
    std::string text; // the records' bytes; kept from one use to the next, so is its memory
    std::vector<RawRecord> records;
    std::string out;
    bool failed = false;
    bool done = false; // guarded by the run's mutex when jobs run in threads
};

// The next records into the chunk; false when there were none.
bool fill(CsvSplitter &splitter, Chunk &chunk, std::size_t rows)
{
    chunk.text.clear();
    chunk.records.clear();
    chunk.out.clear();
    chunk.failed = chunk.done = false;
    std::string_view bytes;
    bool tooLong = false;
    while (chunk.records.size() < rows && chunk.text.size() < ChunkBytes &&
           splitter.next(bytes, tooLong)) {
        chunk.records.push_back({chunk.text.size(), bytes.size(), splitter.line(), tooLong});
        chunk.text.append(bytes);
    }
    return !chunk.records.empty();
}

bool runJob(const ChunkJob &job, Chunk &chunk)
{
    return job(chunk.text, chunk.records.data(), chunk.records.size(), chunk.out);
}

} // namespace

bool runChunks(CsvSplitter &splitter, const std::vector<ChunkJob> &jobs, std::size_t rowsPerChunk,
               const std::function<void(std::string_view text)> &write)
{
    bool failed = false;
    if (jobs.size() == 1) {
        Chunk chunk;
        while (fill(splitter, chunk, rowsPerChunk)) {
            failed |= runJob(jobs.front(), chunk);
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
                const bool chunkFailed = runJob(*job, *chunk);
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
        if (!fill(splitter, *chunk, rowsPerChunk))
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
