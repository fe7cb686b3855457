// The per-user settings store: sections of named text values. Every access opens the store,
// does its one read or write and closes it again, except the reads of one load (a ReadBatch),
// which share one reading of the store; values written by other programs are seen at the next
// read or load.
#pragma once

#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace vantrel {

class IniDocument;

// The program's own section.
inline constexpr std::string_view kOwnSection = "QQ0XYZ";

class SettingsStore {
public:
    virtual ~SettingsStore() = default;

    // Raw access: the stored text of a value, or nothing when the section or key is missing.
    virtual std::optional<std::string> Read(std::string_view section, std::string_view key) = 0;
    // Writing creates the section when missing. False when the store could not be written.
    virtual bool Write(std::string_view section, std::string_view key, std::string_view value) = 0;
    virtual bool DeleteValue(std::string_view section, std::string_view key) = 0;

    // Several values of one section in one step (a store kept in a file is then rewritten once).
    // The default writes or deletes them one by one in the given order; false when any failed.
    using Values = std::vector<std::pair<std::string, std::string>>;
    virtual bool WriteMany(std::string_view section, const Values& values);
    virtual bool DeleteMany(std::string_view section, const std::vector<std::string>& keys);

    std::string ReadText(std::string_view section, std::string_view key, std::string_view def);
    // The default when the value is missing or is not a whole decimal number.
    int ReadInteger(std::string_view section, std::string_view key, int def);
    // Stored as "1"/"0"; any whole number other than 0 reads as true.
    bool ReadBool(std::string_view section, std::string_view key, bool def);
    bool WriteText(std::string_view section, std::string_view key, std::string_view value);
    bool WriteInteger(std::string_view section, std::string_view key, int value);
    bool WriteBool(std::string_view section, std::string_view key, bool value);

    // While one is alive, the store's reads share one reading of it (a file is read and parsed
    // once for a whole load, not once per key); a write made meanwhile is seen by the reads after
    // it. Batches may nest; the reading is dropped when the outermost one ends.
    class ReadBatch {
    public:
        explicit ReadBatch(SettingsStore& store) : store_(store) { store_.BeginReads(); }
        ~ReadBatch() { store_.EndReads(); }
        ReadBatch(const ReadBatch&) = delete;
        ReadBatch& operator=(const ReadBatch&) = delete;

    private:
        SettingsStore& store_;
    };

protected:
    virtual void BeginReads() {}
    virtual void EndReads() {}
};

// A human-editable INI file ("[Section]" lines, "Key=Value" lines, ";" or "#" comments).
// Section and key names match without regard to letter case; values are kept as written, up to
// the line end (line ends inside a written value become blanks). A missing file reads as an
// empty store. An empty, unreadable or damaged file reads as what can be read and reports one
// trace line per problem (again only after it has gone away and come back). Writes read the
// file, change it and replace it in one step (new file beside it, flushed, renamed), so it is
// never left half-written; a damaged file is first kept as "<name>.corrupt", and a file that
// cannot be read is never replaced.
class IniSettingsStore : public SettingsStore {
public:
    using TraceSink = std::function<void(const std::string&)>;
    explicit IniSettingsStore(std::filesystem::path file, TraceSink trace = {});
    ~IniSettingsStore() override;

    std::optional<std::string> Read(std::string_view section, std::string_view key) override;
    bool Write(std::string_view section, std::string_view key, std::string_view value) override;
    bool DeleteValue(std::string_view section, std::string_view key) override;
    bool WriteMany(std::string_view section, const Values& values) override;
    bool DeleteMany(std::string_view section, const std::vector<std::string>& keys) override;

    const std::filesystem::path& File() const { return file_; }

protected:
    void BeginReads() override { ++batchDepth_; }
    void EndReads() override;

private:
    struct Loaded;
    Loaded Load();
    bool Change(const std::string& what, const std::function<bool(IniDocument&)>& change);
    void ReportReadProblem(unsigned kinds, const std::string& text);
    bool FailWrite(const std::string& text);

    std::filesystem::path file_;
    TraceSink trace_;
    unsigned reportedReadProblems_ = 0;  // problems already traced while they last
    std::string reportedWriteProblem_;
    int batchDepth_ = 0;
    std::unique_ptr<Loaded> batch_;  // the reading the reads of a batch share
};

// Where the store lives: $VANTREL_SETTINGS when set, else $XDG_CONFIG_HOME/Vantrel/Vantrel.ini
// (default ~/.config/Vantrel/Vantrel.ini).
std::filesystem::path DefaultSettingsFile();

}  // namespace vantrel
