#include "awards/dxcc_entities.h"

#include <algorithm>
#include <string>
#include <unordered_map>

#include "awards/dxcc_entity_table.h"

namespace vantrel {

namespace {

// cty.dat names whose normalised form is not ADIF's: other spellings, and the entities cty.dat
// lists for the WAE award only (Shetland, Sicily, ...), which count as their parent for DXCC.
struct NameCode {
    std::string_view name;  // normalised cty.dat name
    int code;
};
constexpr NameCode kSpelledOtherwise[] = {
    {"AFRICAN ITALY", 248},              // WAE only: Italy
    {"AGALEGA AND ST BRANDON", 4},
    {"ASIATIC TURKEY", 390},
    {"BANABA IS", 490},
    {"BEAR IS", 259},                    // WAE only: Svalbard
    {"CENTRAL AFRICAN REPUBLIC", 408},
    {"CENTRAL KIRIBATI", 31},
    {"DEM REP OF THE CONGO", 414},
    {"DPR OF KOREA", 344},
    {"EASTERN KIRIBATI", 48},
    {"EUROPEAN TURKEY", 390},            // WAE only: Turkey
    {"FED REP OF GERMANY", 230},
    {"GERMANY", 230},                    // ADIF's GERMANY (81) is the one deleted in 1973
    {"N Z SUBANTARCTIC IS", 16},
    {"NORTH MACEDONIA", 502},
    {"PR EDWARD AND MARION IS", 201},
    {"REPUBLIC OF SOUTH SUDAN", 521},
    {"RODRIGUEZ IS", 207},
    {"SHETLAND IS", 279},                // WAE only: Scotland
    {"SICILY", 248},                     // WAE only: Italy
    {"SOUTH AFRICA", 462},
    {"SOUTH KOREA", 137},
    {"SOV MIL ORDER OF MALTA", 246},
    {"ST PETER AND ST PAUL", 253},
    {"TRINDADE AND MARTIM VAZ", 273},
    {"TRISTAN DA CUNHA AND GOUGH", 274},
    {"UK BASE AREAS ON CYPRUS", 283},
    {"UNITED STATES", 291},
    {"US VIRGIN IS", 285},
    {"VATICAN CITY", 295},
    {"VIENNA INTL CTR", 206},            // WAE only: Austria
    {"VIETNAM", 293},
    {"WESTERN KIRIBATI", 301},
};

bool IsLetterOrDigit(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9');
}

// Normalised name -> code; a current entity wins over a deleted one of the same name.
const std::unordered_map<std::string, int>& CodesByName() {
    static const std::unordered_map<std::string, int> codes = [] {
        std::unordered_map<std::string, int> map;
        for (const DxccEntity& e : DxccEntities()) {
            const auto [at, added] = map.emplace(NormaliseEntityName(e.name), e.code);
            if (!added && DxccEntityByCode(at->second)->deleted && !e.deleted) at->second = e.code;
        }
        for (const NameCode& n : kSpelledOtherwise) map[std::string(n.name)] = n.code;
        return map;
    }();
    return codes;
}

}  // namespace

std::span<const DxccEntity> DxccEntities() { return {kDxccEntityTable, kDxccEntityCount}; }

const DxccEntity* DxccEntityByCode(int code) {
    const auto all = DxccEntities();
    const auto at = std::lower_bound(all.begin(), all.end(), code,
                                     [](const DxccEntity& e, int c) { return e.code < c; });
    return at != all.end() && at->code == code ? &*at : nullptr;
}

std::string NormaliseEntityName(std::string_view name) {
    std::string out;
    std::string word;
    const auto flush = [&] {
        if (word.empty()) return;
        if (word == "I" || word == "IS" || word == "ISLAND" || word == "ISLANDS") word = "IS";
        else if (word == "SAINT") word = "ST";
        if (!out.empty()) out += ' ';
        out += word;
        word.clear();
    };
    for (const char c : name) {
        if (c == '&') {
            flush();
            word = "AND";
            flush();
        } else if (IsLetterOrDigit(c)) {
            word += static_cast<char>(c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c);
        } else {
            flush();  // blanks and punctuation part words
        }
    }
    flush();
    return out;
}

int DxccCodeOfCountryName(std::string_view countryFileName) {
    const auto& codes = CodesByName();
    const auto found = codes.find(NormaliseEntityName(countryFileName));
    return found == codes.end() ? 0 : found->second;
}

}  // namespace vantrel
