#include "AudioFiles.h"

#include "CommandLine.h"

#include <algorithm>
#include <cctype>
#include <stdexcept>

SoundFileSource::SoundFileSource(const std::string& path)
{
    file_ = sf_open(path.c_str(), SFM_READ, &info_);
    if (!file_)
        throw UsageError("cannot read " + path + ": " + sf_strerror(nullptr));
    if (info_.channels < 1 || info_.channels > 2) {
        sf_close(file_);
        file_ = nullptr;
        throw UsageError(path + " has " + std::to_string(info_.channels) + " channels; zorvane plays mono or stereo");
    }
}

SoundFileSource::~SoundFileSource()
{
    if (file_)
        sf_close(file_);
}

long long SoundFileSource::read(float* interleaved, long long count)
{
    return sf_readf_float(file_, interleaved, count);
}

int SoundFileWriter::formatFor(const std::string& path, bool floatSamples)
{
    const std::size_t dot = path.find_last_of('.');
    const std::size_t slash = path.find_last_of('/');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash))
        throw UsageError("the output " + path + " has no extension to choose its format by (.wav, .flac, .aiff, .ogg...)");
    std::string extension = path.substr(dot + 1);
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    if (extension == "aif")
        extension = "aiff";

    int majors = 0;
    sf_command(nullptr, SFC_GET_FORMAT_MAJOR_COUNT, &majors, sizeof majors);
    int major = 0;
    for (int i = 0; i < majors && major == 0; ++i) {
        SF_FORMAT_INFO info{};
        info.format = i;
        sf_command(nullptr, SFC_GET_FORMAT_MAJOR, &info, sizeof info);
        if (info.extension && extension == info.extension)
            major = info.format;
    }
    if (major == 0)
        throw UsageError("unknown output extension ." + extension);

    const int wanted = floatSamples ? SF_FORMAT_FLOAT : SF_FORMAT_PCM_24;
    // Formats without 24-bit PCM or float get their own usual sample format.
    for (int subtype : {wanted, int{SF_FORMAT_PCM_24}, int{SF_FORMAT_VORBIS}, int{SF_FORMAT_PCM_16}, int{SF_FORMAT_FLOAT}}) {
        SF_INFO check{};
        check.samplerate = 44100;
        check.channels = 2;
        check.format = major | subtype;
        if (sf_format_check(&check))
            return check.format;
    }
    throw UsageError("cannot write stereo ." + extension + " files");
}

SoundFileWriter::SoundFileWriter(const std::string& path, int format, int sampleRate)
{
    SF_INFO info{};
    info.samplerate = sampleRate;
    info.channels = 2;
    info.format = format;
    file_ = sf_open(path.c_str(), SFM_WRITE, &info);
    if (!file_)
        throw std::runtime_error("cannot write " + path + ": " + sf_strerror(nullptr));
    // Integer formats clip what is too loud instead of wrapping round; float keeps it all.
    if ((format & SF_FORMAT_SUBMASK) != SF_FORMAT_FLOAT)
        sf_command(file_, SFC_SET_CLIPPING, nullptr, SF_TRUE);
}

SoundFileWriter::~SoundFileWriter()
{
    if (file_)
        sf_close(file_);
}

void SoundFileWriter::write(const float* interleaved, long long frames)
{
    if (sf_writef_float(file_, interleaved, frames) != frames)
        throw std::runtime_error(std::string("writing failed: ") + sf_strerror(file_));
}

void SoundFileWriter::close()
{
    const int error = sf_close(file_);
    file_ = nullptr;
    if (error != 0)
        throw std::runtime_error(std::string("finishing the file failed: ") + sf_error_number(error));
}
