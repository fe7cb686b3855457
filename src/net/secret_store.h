// Secrets (passwords) kept in the desktop's secret store, never in the settings file. The store
// answers later, from the event loop: a desktop's store may ask the operator to unlock it first.
#pragma once

#include <functional>
#include <memory>
#include <string>

namespace vantrel {

struct SecretAnswer {
    enum class Status {
        Ok,       // read or written; `value` holds what was read
        Missing,  // nothing stored under that key
        NoStore,  // this desktop has no secret store to ask
        Failed,   // the store refused or failed; `error` says why
    };
    Status status = Status::Failed;
    std::string value;
    std::string error;
};

class SecretStore {
public:
    using Done = std::function<void(SecretAnswer)>;
    virtual ~SecretStore() = default;
    // `done` runs once, from the event loop, never within the call.
    virtual void Read(const std::string& key, Done done) = 0;
    virtual void Write(const std::string& key, const std::string& value, Done done) = 0;
};

// The desktop's own store (the Secret Service or KWallet, through QtKeychain), under the
// service name "Vantrel".
std::unique_ptr<SecretStore> MakeDesktopSecretStore();

}  // namespace vantrel
