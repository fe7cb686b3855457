// The backups of the local log: on the operator's word ("Backup data") and every 30 days.
#pragma once

#include "app/engine/engine_core.h"

namespace vantrel {

class BackupsPart {
public:
    explicit BackupsPart(EngineCore& core) : core_(core) {}

    // "Backup " + "dd-mm-yy hhnnss" + ".txt": the log as held in memory.
    void BackupLocalLog();
    // The start-up's check: a backup when the last one is more than 30 days old.
    void BackupIfDue();

private:
    EngineCore& core_;
};

}  // namespace vantrel
