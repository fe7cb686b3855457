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
    : file_(viewerFolder / kConfirmationsFileName), index_(std::make_shared<ConfirmationIndex>()) {}

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
    // What is new, and new only once within the batch; nothing is taken in before it is written.
    ConfirmationIndex fresh;
    std::string bytes;
    for (const Confirmation& c : batch) {
        if (index_->Holds(c) || !fresh.Add(c)) continue;
        bytes += ConfirmationRecordLine(c);
    }
    if (fresh.size() > 0) {
        const bool created = FileSize(file_) <= 0;
        if (created) bytes.insert(0, ConfirmationsFileHeader());
        // A new file is made whole in one step; later batches are appended in one write.
        const bool written = created ? WriteFileAtomic(file_, bytes, &result.error)
                                     : AppendFileDurable(file_, bytes, &result.error);
        if (!written) return result;
        result.added = fresh.size();
        // An index handed out stays as it was: it is copied unless no one else holds it.
        if (index_->size() == 0) {
            index_ = std::make_shared<ConfirmationIndex>(std::move(fresh));
        } else {
            if (index_.use_count() > 1) index_ = std::make_shared<ConfirmationIndex>(*index_);
            for (const Confirmation& c : fresh.All()) index_->Add(c);
        }
    }
    result.ok = true;
    return result;
}

}  // namespace vantrel
