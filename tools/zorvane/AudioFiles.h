#pragma once

#include <sndfile.h>

#include <string>
#include <vector>

// Sound to play through the plug-in: interleaved frames of one or two channels.
class SoundSource {
public:
    virtual ~SoundSource() = default;

    virtual int sampleRate() const = 0;
    virtual int channels() const = 0;
    // Frames in all, or -1 when unknown.
    virtual long long frames() const = 0;
    // Reads up to `count` frames into `interleaved`; answers the frames read, 0 at the end.
    virtual long long read(float* interleaved, long long count) = 0;
};

// Any file libsndfile reads.
class SoundFileSource : public SoundSource {
public:
    // Throws UsageError when the file cannot be read or has more than two channels.
    explicit SoundFileSource(const std::string& path);
    ~SoundFileSource() override;

    int sampleRate() const override { return info_.samplerate; }
    int channels() const override { return info_.channels; }
    long long frames() const override { return info_.frames; }
    long long read(float* interleaved, long long count) override;

private:
    SNDFILE* file_ = nullptr;
    SF_INFO info_{};
};

// A stereo file being written, in the format its name's extension gives.
class SoundFileWriter {
public:
    // The libsndfile format for a file name: WAV, AIFF, FLAC, OGG and the others libsndfile
    // knows by extension. WAV and AIFF are 24-bit PCM, or 32-bit float with `floatSamples`.
    // Throws UsageError for an extension it does not know.
    static int formatFor(const std::string& path, bool floatSamples);

    // Throws std::runtime_error when the file cannot be created.
    SoundFileWriter(const std::string& path, int format, int sampleRate);
    ~SoundFileWriter();

    void write(const float* interleaved, long long frames);
    // Finishes the file; throws std::runtime_error when it could not be written in full.
    void close();

private:
    SNDFILE* file_ = nullptr;
};
