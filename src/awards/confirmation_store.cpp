#include "awards/confirmation_store.h"

#include "base/file_io.h"

namespace vantrel {

std::string ConfirmationsFileHeader() {
    std::string header = "Confirmations of the local log's contacts (LoTW and imported ADIF), kept by Vantrel\r\n";
    const std::string_view version = VANTREL_VERSION_TEXT;
    header += "<ADIF_VER:5>3.1.6 <PROGRAMID:7>Vantrel <PROGRAMVERSION:" + std::to_string(version.size()) + ">";
    header.append(version).append(" <EOH>\r\n\r\n");
    return header;
}

ConfirmationStore::ConfirmationStore(const std::filesystem::path& viewerFolder)
    : file_(viewerFolder / kConfirmationsFileName), index_(std::make_shared<const ConfirmationIndex>()) {}

bool ConfirmationStore::Load(std::string* error) {
    auto index = std::make_shared<ConfirmationIndex>();
    if (FileSize(file_) >= 0) {
        const auto bytes = ReadWholeFile(file_, error);
        if (!bytes) return false;
        for (Confirmation& c : ConfirmationsInAdif(*bytes, kSourceAdif)) index->Add(std::move(c));
    }
    index_ = std::move(index);
    return true;
}

ConfirmationMerge ConfirmationStore::Merge(const std::vector<Confirmation>& batch) {
    ConfirmationMerge result;
    result.offered = batch.size();
    // The new index is made aside: the one handed out stays as it was.
    auto index = std::make_shared<ConfirmationIndex>(*index_);
    std::string bytes;
    for (const Confirmation& c : batch) {
        if (!index->Add(c)) continue;
        bytes += ConfirmationRecordLine(c);
        ++result.added;
    }
    if (result.added > 0) {
        const bool fresh = FileSize(file_) <= 0;
        if (fresh) bytes.insert(0, ConfirmationsFileHeader());
        // A fresh file is made whole in one step; later batches are appended in one write.
        const bool written = fresh ? WriteFileAtomic(file_, bytes, &result.error)
                                   : AppendFileDurable(file_, bytes, &result.error);
        if (!written) {
            result.added = 0;
            return result;
        }
        index_ = std::move(index);
    }
    result.ok = true;
    return result;
}

}  // namespace vantrel
