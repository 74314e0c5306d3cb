#include "agent/OutputReader.h"

#include "agent/AgentLog.h"
#include "agent/FeedList.h"
#include "agent/OutputFormats.h"

#include "agent/OutputLineList.h"
#include "agent/SettingsStore.h"
#include "agent/SupervisionState.h"
#include "common/Files.h"
#include "common/Format.h"

namespace kv::agent {

namespace {
constexpr std::string_view kRunningMarker = "Game engine initialized";
} // namespace

OutputReader::OutputReader(int fd, Targets targets) : t_(std::move(targets)) {
    if (!t_.runningLogPath.empty())
        logBytes_ = static_cast<std::uint64_t>(fileSize(t_.runningLogPath).value_or(0));
    capture_ = std::make_unique<OutputCapture>(UniqueFd(fd), OutputLineSplitter::LongLines::EndCapture,
                                               static_cast<OutputCapture::Sink&>(*this));
}

OutputReader::~OutputReader() {
    capture_.reset();
}

void OutputReader::stop() {
    capture_->stop();
}

void OutputReader::captureCut() {
    if (t_.log)
        t_.log->write("Server output capture ended: a line reached %zu characters without a line end\n", kMaxLine);
}

void OutputReader::captureEnded() {
    if (t_.finished)
        t_.finished();
}

void OutputReader::linesCaptured(std::span<const std::string_view> lines) {
    const std::int64_t now = t_.clock->nowSeconds();
    if (t_.settings)
        t_.showMemory = t_.settings->snapshot().showMemoryUsage;
    for (std::string_view line : lines)
        completeLine(now, line);
    flushBatch();
}

void OutputReader::completeLine(std::int64_t now, std::string_view text) {
    const std::int32_t ramK = t_.state->currentRamK();
    batch_.push_back({now, text, ramK});
    if (t_.state->status() != ServerStatus::Running && text.find(kRunningMarker) != std::string_view::npos)
        t_.state->markRunning(now);
    if (!t_.runningLogPath.empty() && !logCut_) {
        if (now != stampSecond_) {
            stampSecond_ = now;
            stamp_ = output_formats::timeStamp(now);
        }
        const std::size_t before = logBatch_.size();
        output_formats::appendRunningLogLine(logBatch_, stamp_, ramK, t_.showMemory, text);
        if (logBytes_ + logBatch_.size() > t_.runningLogLimit) {
            // A server that floods its output must not fill the disk.
            logBatch_.resize(before);
            output_formats::appendRunningLogLine(
                logBatch_, stamp_, 0, false,
                format("Running log cut: it reached %llu bytes; the rest of this run's output is not written here",
                       static_cast<unsigned long long>(t_.runningLogLimit)));
            logCut_ = true;
        }
    }
    if (t_.feeds && !t_.feeds->empty())
        t_.feeds->deliver({now, std::string(text), ramK});
}

void OutputReader::flushBatch() {
    if (!logBatch_.empty()) {
        appendToFile(t_.runningLogPath, logBatch_);
        logBytes_ += logBatch_.size();
        logBatch_.clear();
    }
    if (batch_.empty())
        return;
    t_.lines->append(batch_.data(), batch_.size());
    batch_.clear();
    if (t_.linesAdded && !notifyPending_.exchange(true))
        t_.linesAdded();
}

} // namespace kv::agent
