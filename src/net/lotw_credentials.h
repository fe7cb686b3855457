// The operator's login and password for the confirmation service, kept in the desktop's secret
// store (never in the settings file). Scripts may give them in the environment instead:
// VANTREL_LOTW_LOGIN and VANTREL_LOTW_PASSWORD.
#pragma once

#include <functional>
#include <optional>
#include <string>

#include "net/secret_store.h"

namespace vantrel {

struct LotwLogin {
    std::string login;
    std::string password;
    bool Complete() const { return !login.empty() && !password.empty(); }
};

struct CredentialsAnswer {
    bool ok = false;
    LotwLogin credentials;  // with `ok`: what the store holds (empty fields when none)
    std::string problem;    // without `ok`: one line for the operator
};

class LotwCredentials {
public:
    using Done = std::function<void(CredentialsAnswer)>;
    explicit LotwCredentials(SecretStore& store) : store_(store) {}

    // Both values; `done` runs once, from the event loop.
    void Load(Done done);
    // Both values stored; `done` says whether they were.
    void Save(LotwLogin credentials, Done done);

    static constexpr const char* kLoginKey = "LoTW login";
    static constexpr const char* kPasswordKey = "LoTW password";

private:
    SecretStore& store_;
};

// The login and password from VANTREL_LOTW_LOGIN and VANTREL_LOTW_PASSWORD, when both are set.
std::optional<LotwLogin> LotwLoginFromEnvironment();

// The operator's line for a store that could not be used.
std::string SecretStoreProblem(const SecretAnswer& answer);

}  // namespace vantrel
