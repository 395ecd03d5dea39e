#include "RenderJob.h"

#include "ProgressBar.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <csignal>
#include <cstdio>
#include <stdexcept>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

volatile std::sig_atomic_t g_interrupted = 0;

// -90 dBFS: the level below which the echoes have rung out.
constexpr float kQuiet = 3.1622777e-5f;
// The longest the output can stay silent before another echo: a tap and a line delay of four
// beats each at the slowest tempo.
constexpr double kLongestSilence = 8.5;
constexpr double kLongestTail = 30.0;

void checkInterrupt()
{
    if (g_interrupted != 0)
        throw RenderJob::Interrupted();
}

// A file beside the output that becomes the output when committed and is removed otherwise.
class TemporaryFile {
public:
    explicit TemporaryFile(const std::string& output)
    {
        const std::size_t slash = output.find_last_of('/');
        const std::string folder = slash == std::string::npos ? "." : output.substr(0, slash);
        const std::string name = slash == std::string::npos ? output : output.substr(slash + 1);
        std::string pattern = folder + "/." + name + ".partial-XXXXXX";
        const int descriptor = mkstemp(pattern.data());
        if (descriptor < 0)
            throw std::runtime_error("cannot create a file in " + folder);
        close(descriptor);
        path_ = pattern;
    }
    ~TemporaryFile()
    {
        if (!committed_)
            unlink(path_.c_str());
    }

    const std::string& path() const { return path_; }
    void commit(const std::string& output)
    {
        // The usual permissions of a new file, not the private ones of a temporary file.
        const mode_t mask = umask(0);
        umask(mask);
        chmod(path_.c_str(), 0666 & ~mask);
        if (std::rename(path_.c_str(), output.c_str()) != 0)
            throw std::runtime_error("cannot write " + output);
        committed_ = true;
    }

private:
    std::string path_;
    bool committed_ = false;
};

} // namespace

void RenderJob::interrupt()
{
    g_interrupted = 1;
}

RenderJob::RenderJob(PluginHost& host, SoundSource& source, const CommandLine& line)
    : host_(host), source_(source), line_(line)
{
}

RenderJob::Summary RenderJob::run()
{
    const auto started = std::chrono::steady_clock::now();
    const int format = SoundFileWriter::formatFor(line_.output, line_.floatOutput);
    const int rate = source_.sampleRate();
    const auto block = static_cast<std::size_t>(line_.blockSize);
    TemporaryFile temporary(line_.output);
    SoundFileWriter writer(temporary.path(), format, rate);
    ProgressBar progress(!line_.quiet);

    std::vector<float> interleaved(2 * block), left(block), right(block), outLeft(block), outRight(block),
        written(2 * block);
    Summary summary;
    long long done = 0;
    const double expected = static_cast<double>(std::max(source_.frames(), 1LL));

    // Runs one host block and answers its output, interleaved.
    auto play = [&](std::size_t frames) -> const float* {
        host_.process(left.data(), right.data(), outLeft.data(), outRight.data(), static_cast<int>(frames));
        for (std::size_t i = 0; i < frames; ++i) {
            written[2 * i] = outLeft[i];
            written[2 * i + 1] = outRight[i];
            summary.peak = std::max({summary.peak, static_cast<double>(std::fabs(outLeft[i])),
                                     static_cast<double>(std::fabs(outRight[i]))});
        }
        return written.data();
    };

    const int channels = source_.channels();
    for (;;) {
        checkInterrupt();
        const long long frames = source_.read(interleaved.data(), static_cast<long long>(block));
        if (frames <= 0)
            break;
        for (long long i = 0; i < frames; ++i) {
            left[static_cast<std::size_t>(i)] = interleaved[static_cast<std::size_t>(i * channels)];
            right[static_cast<std::size_t>(i)] = interleaved[static_cast<std::size_t>(i * channels + channels - 1)];
        }
        writer.write(play(static_cast<std::size_t>(frames)), frames);
        done += frames;
        progress.show(static_cast<double>(done), expected);
    }

    // The tail: silence in, until the echoes have rung out or for the time asked.
    std::fill(left.begin(), left.end(), 0.0f);
    std::fill(right.begin(), right.end(), 0.0f);
    const bool fixedTail = line_.tailSeconds.has_value();
    const auto longest = static_cast<long long>(std::llround((fixedTail ? *line_.tailSeconds : kLongestTail) * rate));
    const auto silence = static_cast<long long>(kLongestSilence * rate);
    std::vector<float> tail;
    long long rendered = 0;
    long long audible = 0;
    while (rendered < longest && (fixedTail || rendered - audible < silence)) {
        checkInterrupt();
        const auto frames = static_cast<std::size_t>(std::min<long long>(static_cast<long long>(block), longest - rendered));
        const float* out = play(frames);
        for (std::size_t i = 0; i < 2 * frames; ++i)
            if (std::fabs(out[i]) >= kQuiet)
                audible = rendered + static_cast<long long>(i / 2) + 1;
        tail.insert(tail.end(), out, out + 2 * frames);
        rendered += static_cast<long long>(frames);
        progress.show(static_cast<double>(done), expected);
    }
    const long long kept = fixedTail ? rendered : audible;
    writer.write(tail.data(), kept);
    done += kept;
    progress.finish();

    checkInterrupt();
    writer.close();
    temporary.commit(line_.output);
    summary.seconds = static_cast<double>(done) / rate;
    summary.elapsed = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    return summary;
}
