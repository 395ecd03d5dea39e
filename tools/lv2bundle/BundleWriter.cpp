#include "BundleWriter.h"

#include "FactoryPrograms.h"
#include "FixedPorts.h"
#include "ParamLayout.h"
#include "PortSymbols.h"
#include "PresetMessages.h"
#include "ProductInfo.h"
#include "StateKeys.h"
#include "TurtleText.h"

#include <cmath>
#include <set>
#include <stdexcept>

namespace {

constexpr const char* kPrefixes = "@prefix atom: <http://lv2plug.in/ns/ext/atom#> .\n"
                                  "@prefix doap: <http://usefulinc.com/ns/doap#> .\n"
                                  "@prefix foaf: <http://xmlns.com/foaf/0.1/> .\n"
                                  "@prefix lv2: <http://lv2plug.in/ns/lv2core#> .\n"
                                  "@prefix patch: <http://lv2plug.in/ns/ext/patch#> .\n"
                                  "@prefix pprops: <http://lv2plug.in/ns/ext/port-props#> .\n"
                                  "@prefix pset: <http://lv2plug.in/ns/ext/presets#> .\n"
                                  "@prefix rdfs: <http://www.w3.org/2000/01/rdf-schema#> .\n"
                                  "@prefix rsz: <http://lv2plug.in/ns/ext/resize-port#> .\n"
                                  "@prefix time: <http://lv2plug.in/ns/ext/time#> .\n"
                                  "@prefix ui: <http://lv2plug.in/ns/extensions/ui#> .\n"
                                  "@prefix units: <http://lv2plug.in/ns/extensions/units#> .\n"
                                  "@prefix urid: <http://lv2plug.in/ns/ext/urid#> .\n"
                                  "@prefix work: <http://lv2plug.in/ns/ext/worker#> .\n\n";

// LV2 versions are a minor and a micro number, and an odd minor number marks a development
// build. The project's version a.bc becomes minor 2a and micro bc: even, so every version is a
// release, ordered as the project's versions are, and the micro number reads as the hundredths.
struct Lv2Version {
    int minor;
    int micro;
};

Lv2Version lv2Version(double version)
{
    const double major = std::floor(version);
    return {2 * static_cast<int>(major), static_cast<int>(std::lround((version - major) * 100.0))};
}

const char* kAudioPorts[] = {"lv2:InputPort", "lv2:InputPort", "lv2:OutputPort", "lv2:OutputPort"};

const lv2port::FixedPortText& fixedText(std::uint32_t port)
{
    return lv2port::kFixedPortTexts[port - lv2port::kInputLeft];
}

} // namespace

BundleWriter::BundleWriter(std::string binary, std::string uiBinary)
    : binary_(std::move(binary)), uiBinary_(std::move(uiBinary)), programs_(mppi::load_factory_programs())
{
    algo_.init1();
    algo_.init2();
    algo_.applyProgram(programs_.program(0));
    pluginName_ = algo_.queryText("plugin_name");
    const param_table::Layout& layout = param_table::layout();
    for (int index = 0; index < algo_.paramCount(); ++index)
        ports_.emplace_back(*algo_.param(index), lv2port::port_kind(layout[static_cast<std::size_t>(index)]));

    std::set<std::string> seen;
    for (int program = 0; program < programs_.count(); ++program) {
        const std::string slug = turtle::slug(programs_.program(program).name());
        if (slug.empty() || !seen.insert(slug).second)
            throw std::runtime_error("the program name '" + programs_.program(program).name() + "' makes no URI of its own");
        presetSlugs_.push_back(slug);
    }
}

std::string BundleWriter::presetUri(int program) const
{
    return std::string("<") + product::kLv2Uri + "/presets/" + presetSlugs_[static_cast<std::size_t>(program)] + ">";
}

float BundleWriter::portValue(int index, float normalized, const std::string& where) const
{
    const std::optional<float> value = ports_[static_cast<std::size_t>(index)].portValueOf(normalized);
    if (!value)
        throw std::runtime_error(where + ": no port value of '" + ports_[static_cast<std::size_t>(index)].param().name() +
                                 "' gives back the normalized value " + std::to_string(normalized));
    return *value;
}

void BundleWriter::writeManifest(std::ostream& out) const
{
    out << kPrefixes;
    out << "<" << product::kLv2Uri << ">\n    a lv2:Plugin ;\n    lv2:binary <" << binary_ << "> ;\n    ui:ui <"
        << product::kLv2UiUri << "> ;\n    rdfs:seeAlso <" << kPluginFile << "> .\n";
    // The editor, embedded in the host's window and driven by its idle calls, at a fixed size;
    // it hears the tempo in effect and the presets' messages.
    out << "\n<" << product::kLv2UiUri << ">\n    a ui:X11UI ;\n    ui:binary <" << uiBinary_
        << "> ;\n    lv2:requiredFeature ui:parent , ui:idleInterface ;\n    lv2:optionalFeature ui:resize , ui:touch , "
           "ui:noUserResize , urid:map , ui:portSubscribe ;\n    lv2:extensionData ui:idleInterface ;\n"
           "    ui:portNotification ";
    const std::pair<std::uint32_t, const char*> notified[] = {{lv2port::kTempoOutput, "ui:floatProtocol"},
                                                              {lv2port::kPresetsOutput, "atom:eventTransfer"}};
    for (const auto& [port, protocol] : notified)
        out << (port == notified[0].first ? "" : " , ") << "[\n        ui:plugin <" << product::kLv2Uri
            << "> ;\n        lv2:symbol " << turtle::quoted(fixedText(port).symbol) << " ;\n        ui:protocol "
            << protocol << "\n    ]";
    out << " .\n";
    for (int program = 0; program < programs_.count(); ++program)
        out << "\n" << presetUri(program) << "\n    a pset:Preset ;\n    lv2:appliesTo <" << product::kLv2Uri
            << "> ;\n    rdfs:label " << turtle::quoted(programs_.program(program).name()) << " ;\n    rdfs:seeAlso <"
            << kPresetFile << "> .\n";
}

void BundleWriter::writeParamPort(std::ostream& out, int index) const
{
    const lv2port::ParamPort& port = ports_[static_cast<std::size_t>(index)];
    const lv2port::PortKind& kind = port.kind();
    const mppi::NormalizedParamInterface& param = port.param();
    const float fresh = portValue(index, param.normalized(), "the fresh instance");
    out << "[\n        a lv2:InputPort , lv2:ControlPort ;\n        lv2:index " << index << " ;\n        lv2:symbol "
        << turtle::quoted(lv2port::kParamSymbols[static_cast<std::size_t>(index)]) << " ;\n        lv2:name "
        << turtle::quoted(param.name()) << " ;\n        lv2:default " << turtle::number(fresh)
        << " ;\n        lv2:minimum " << turtle::number(port.minimum()) << " ;\n        lv2:maximum "
        << turtle::number(port.maximum());
    if (*kind.unit)
        out << " ;\n        units:unit units:" << kind.unit;
    const std::pair<unsigned, const char*> properties[] = {
        {lv2port::kInteger, "lv2:integer"},
        {lv2port::kEnumeration, "lv2:enumeration"},
        {lv2port::kLogarithmic, "pprops:logarithmic"},
        {lv2port::kNotAutomatic, "pprops:notAutomatic"},
    };
    for (const auto& [bit, name] : properties)
        if (kind.properties & bit)
            out << " ;\n        lv2:portProperty " << name;
    if (kind.properties & lv2port::kLabelled) {
        for (int value = static_cast<int>(std::ceil(port.minimum())); value <= port.maximum(); ++value)
            out << " ;\n        lv2:scalePoint [ rdfs:label "
                << turtle::quoted(param.valueText(kind.scale.toReal(value))) << " ; rdf:value "
                << turtle::number(static_cast<float>(value)) << " ]";
    }
    out << "\n    ]";
}

void BundleWriter::writePlugin(std::ostream& out) const
{
    const Lv2Version version = lv2Version(product::kVersion);
    out << kPrefixes << "@prefix log: <http://lv2plug.in/ns/ext/log#> .\n"
        << "@prefix rdf: <http://www.w3.org/1999/02/22-rdf-syntax-ns#> .\n"
        << "@prefix state: <http://lv2plug.in/ns/ext/state#> .\n\n";
    out << "<" << product::kLv2Uri << "#project>\n    a doap:Project ;\n    doap:name " << turtle::quoted(pluginName_)
        << " ;\n    doap:maintainer [ foaf:name " << turtle::quoted(product::kVendor) << " ] .\n\n";
    out << "<" << product::kLv2Uri << ">\n    a lv2:Plugin , lv2:DelayPlugin ;\n    doap:name "
        << turtle::quoted(pluginName_) << " ;\n    lv2:project <" << product::kLv2Uri << "#project> ;\n    lv2:minorVersion " << version.minor << " ;\n    lv2:microVersion " << version.micro
        << " ;\n    lv2:optionalFeature lv2:hardRTCapable , urid:map , log:log , work:schedule ;\n    lv2:extensionData "
           "state:interface , work:interface ;\n    lv2:port ";
    for (int index = 0; index < paramCount(); ++index) {
        writeParamPort(out, index);
        out << " , ";
    }
    for (std::uint32_t audio = lv2port::kInputLeft; audio <= lv2port::kOutputRight; ++audio) {
        const lv2port::FixedPortText& text = lv2port::kFixedPortTexts[audio - lv2port::kInputLeft];
        out << "[\n        a " << kAudioPorts[audio - lv2port::kInputLeft] << " , lv2:AudioPort ;\n        lv2:index "
            << audio << " ;\n        lv2:symbol " << turtle::quoted(text.symbol) << " ;\n        lv2:name "
            << turtle::quoted(text.name) << "\n    ] , ";
    }
    const lv2port::FixedPortText& time = lv2port::kFixedPortTexts[lv2port::kTimeInput - lv2port::kInputLeft];
    out << "[\n        a lv2:InputPort , atom:AtomPort ;\n        atom:bufferType atom:Sequence ;\n        atom:supports "
           "time:Position ;\n        lv2:index "
        << lv2port::kTimeInput << " ;\n        lv2:symbol " << turtle::quoted(time.symbol) << " ;\n        lv2:name "
        << turtle::quoted(time.name) << " ;\n        lv2:portProperty lv2:connectionOptional\n    ] , ";
    const lv2port::FixedPortText& tempo = lv2port::kFixedPortTexts[lv2port::kTempoOutput - lv2port::kInputLeft];
    const lv2port::ParamPort& tempoParam = ports_[mppi::kTempoIndex];
    out << "[\n        a lv2:OutputPort , lv2:ControlPort ;\n        lv2:index " << lv2port::kTempoOutput
        << " ;\n        lv2:symbol " << turtle::quoted(tempo.symbol) << " ;\n        lv2:name " << turtle::quoted(tempo.name)
        << " ;\n        lv2:minimum " << turtle::number(tempoParam.minimum()) << " ;\n        lv2:maximum "
        << turtle::number(tempoParam.maximum()) << " ;\n        units:unit units:bpm\n    ]";
    for (std::uint32_t messages = lv2port::kPresetsInput; messages <= lv2port::kPresetsOutput; ++messages)
        out << " , [\n        a " << (messages == lv2port::kPresetsInput ? "lv2:InputPort" : "lv2:OutputPort")
            << " , atom:AtomPort ;\n        atom:bufferType atom:Sequence ;\n        atom:supports patch:Message ;\n"
               "        lv2:index "
            << messages << " ;\n        lv2:symbol " << turtle::quoted(fixedText(messages).symbol)
            << " ;\n        lv2:name " << turtle::quoted(fixedText(messages).name)
            << " ;\n        rsz:minimumSize " << lv2port::PresetMessages::kPortSize
            << " ;\n        lv2:portProperty lv2:connectionOptional\n    ]";
    out << " .\n";
    writeStateKeys(out);
}

void BundleWriter::writeStateKeys(std::ostream& out) const
{
    const std::string bankType = lv2port::state_uri(lv2port::kPresetBankType);
    out << "\n<" << bankType << ">\n    a rdfs:Class ;\n    rdfs:subClassOf atom:Chunk ;\n    rdfs:label "
        << turtle::quoted(lv2port::kPresetBankType.label) << " .\n";
    auto declare = [&out](const lv2port::StateKeyText& key) -> std::ostream& {
        return out << "\n<" << lv2port::state_uri(key) << ">\n    a lv2:Parameter ;\n    rdfs:label "
                   << turtle::quoted(key.label) << " ;\n    rdfs:range ";
    };
    declare(lv2port::kStateVersionKey) << "atom:Int .\n";
    declare(lv2port::kPresetsKey) << "<" << bankType << "> .\n";
}

void BundleWriter::writePresets(std::ostream& out) const
{
    out << kPrefixes;
    for (int program = 0; program < programs_.count(); ++program) {
        const mppi::ProgramSlot& slot = programs_.program(program);
        if (slot.valueCount() != paramCount())
            throw std::runtime_error("the program '" + slot.name() + "' does not hold every parameter");
        out << presetUri(program) << "\n    a pset:Preset ;\n    lv2:appliesTo <" << product::kLv2Uri
            << "> ;\n    rdfs:label " << turtle::quoted(slot.name()) << " ;\n    lv2:port ";
        for (int index = 0; index < slot.valueCount(); ++index) {
            const float value = portValue(index, slot.value(index), "the program '" + slot.name() + "'");
            out << (index == 0 ? "" : " , ") << "[\n        lv2:symbol "
                << turtle::quoted(lv2port::kParamSymbols[static_cast<std::size_t>(index)]) << " ;\n        pset:value "
                << turtle::number(value) << "\n    ]";
        }
        out << " .\n\n";
    }
}
