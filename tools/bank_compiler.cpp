// Compiles a readable bank source into bank bytes, through the plug-in's own parameters.
//
//   bank_compiler SOURCE.bank OUTPUT
//
// The source holds one block per program:
//
//   program Simple delay - 3/4 beat
//       D1 time = 3/4
//       D1 fdbk = 40.0
//   end
//
// Each line names a parameter and gives its value as the parameter shows it; parameters not
// named keep their defaults. Times are read in beats unless they name a unit. Texts that a
// parameter cannot parse (types, waveforms, flags) are matched against the texts it shows,
// the ends of its range first.
#include "Algo.h"
#include "BankFiles.h"
#include "ProgramSlot.h"

#include <cstdio>
#include <fstream>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

std::string trim(const std::string& text)
{
    const std::size_t first = text.find_first_not_of(" \t\r");
    if (first == std::string::npos)
        return {};
    const std::size_t last = text.find_last_not_of(" \t\r");
    return text.substr(first, last - first + 1);
}

class Compiler {
public:
    Compiler()
    {
        algo_.init1();
        algo_.init2();
        algo_.storeProgram(defaults_);
    }

    void compile(const std::string& sourcePath, const std::string& outputPath)
    {
        std::ifstream source(sourcePath);
        if (!source)
            throw std::runtime_error("cannot read " + sourcePath);
        std::string line;
        int number = 0;
        bool inProgram = false;
        while (std::getline(source, line)) {
            ++number;
            const std::string text = trim(line.substr(0, line.find('#')));
            if (text.empty())
                continue;
            try {
                if (!inProgram && text.rfind("program ", 0) == 0) {
                    beginProgram(trim(text.substr(8)));
                    inProgram = true;
                } else if (inProgram && text == "end") {
                    endProgram();
                    inProgram = false;
                } else if (inProgram) {
                    setParameter(text);
                } else {
                    throw std::runtime_error("expected 'program NAME'");
                }
            } catch (const std::exception& error) {
                throw std::runtime_error(sourcePath + ":" + std::to_string(number) + ": " + error.what());
            }
        }
        if (inProgram)
            throw std::runtime_error(sourcePath + ": the last program has no 'end'");
        const int code = mppi::save_bank_file(outputPath, bank_);
        if (code != 0)
            throw std::runtime_error("cannot write " + outputPath + ", code " + std::to_string(code));
    }

private:
    void beginProgram(const std::string& name)
    {
        if (name.empty())
            throw std::runtime_error("a program needs a name");
        algo_.applyProgram(defaults_);
        name_ = name;
    }

    void endProgram()
    {
        mppi::ProgramSlot program;
        algo_.storeProgram(program);
        program.setName(name_);
        bank_.resize(bank_.count() + 1);
        bank_.replace(bank_.count() - 1, program);
    }

    void setParameter(const std::string& line)
    {
        const std::size_t equals = line.find('=');
        if (equals == std::string::npos)
            throw std::runtime_error("expected 'PARAMETER = VALUE'");
        const std::string name = trim(line.substr(0, equals));
        const std::string value = trim(line.substr(equals + 1));
        mppi::NormalizedParamInterface* param = find(name);
        // Times are written in beats, whatever unit the program shows them in.
        algo_.tempoContext().setMode(mppi::TempoContext::kBeats);
        bool understood = false;
        const double real = param->parse(value, understood);
        if (understood) {
            param->setReal(real);
            return;
        }
        // The ends of the range first, so that a text naming one end of a continuous range
        // ("Puncher") means that end, then the whole range.
        constexpr int kSteps = 1024;
        std::vector<float> candidates = {0.0f, 1.0f};
        for (int step = 0; step <= kSteps; ++step)
            candidates.push_back(static_cast<float>(step) / kSteps);
        for (float normalized : candidates) {
            const double candidate = param->toReal(normalized);
            if (param->valueText(candidate) == value) {
                param->setReal(candidate);
                return;
            }
        }
        throw std::runtime_error("'" + value + "' is not a value of " + name);
    }

    mppi::NormalizedParamInterface* find(const std::string& name)
    {
        if (mppi::NormalizedParamInterface* param = algo_.findParam(name))
            return param;
        throw std::runtime_error("no parameter named '" + name + "'");
    }

    Algo algo_;
    mppi::ProgramSlot defaults_;
    mppi::BankManager bank_;
    std::string name_;
};

} // namespace

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: bank_compiler SOURCE.bank OUTPUT\n");
        return 2;
    }
    try {
        Compiler().compile(argv[1], argv[2]);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "bank_compiler: %s\n", error.what());
        return 1;
    }
    return 0;
}
