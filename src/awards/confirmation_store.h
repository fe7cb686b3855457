// The confirmations file of the viewer folder, "confirmations.adi": an ADIF file written once
// with its header and then only appended to, each new confirmation one record line (see
// ConfirmationRecordLine). The since-date of the next LoTW download is not kept apart: every LoTW
// confirmation carries its app_lotw_rxqsl, and the latest of them is the date.
//
// Merging appends in one durable write, so a killed program leaves all of a batch or none of it;
// a line cut off by a crash of another writer is read as no record.
#pragma once

#include <cstddef>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "awards/confirmations.h"

namespace vantrel {

inline constexpr std::string_view kConfirmationsFileName = "confirmations.adi";

struct ConfirmationMerge {
    bool ok = false;
    std::size_t offered = 0;  // confirmations in the batch
    std::size_t added = 0;    // of them new (the others were held already, or twice in the batch)
    std::string error;        // why nothing was written
};

class ConfirmationStore {
public:
    // The file "confirmations.adi" in the viewer folder.
    explicit ConfirmationStore(const std::filesystem::path& viewerFolder);

    // Reads the file; a missing file is an empty store. False (with the reason) when it exists but
    // cannot be read.
    bool Load(std::string* error = nullptr);
    // Appends what the store does not hold yet and takes it in. Nothing is taken in when the
    // write fails.
    ConfirmationMerge Merge(const std::vector<Confirmation>& batch);

    // The confirmations held now. The index handed out is never changed afterwards: a merge
    // makes a new one, so a background job may keep reading the old.
    std::shared_ptr<const ConfirmationIndex> Index() const { return index_; }
    std::size_t size() const { return index_->size(); }
    // The since-date of the next LoTW download ("yyyy-mm-dd hh:mm:ss"); empty before the first.
    std::string LastLotwQsl() const { return index_->LastLotwQsl(); }
    const std::filesystem::path& File() const { return file_; }

private:
    std::filesystem::path file_;
    // Changed in place while no one else holds it; copied first otherwise.
    std::shared_ptr<ConfirmationIndex> index_;
};

// The header written when the file is made.
std::string ConfirmationsFileHeader();

}  // namespace vantrel
