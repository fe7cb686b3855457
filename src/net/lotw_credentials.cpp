#include "net/lotw_credentials.h"

#include <cstdlib>
#include <memory>

namespace vantrel {

std::string SecretStoreProblem(const SecretAnswer& answer) {
    const std::string why = answer.error.empty() ? std::string("no reason given") : answer.error;
    if (answer.status == SecretAnswer::Status::NoStore)
        return "No secret store on this desktop: " + why +
               ". Start the desktop's keyring (or set VANTREL_LOTW_LOGIN and VANTREL_LOTW_PASSWORD "
               "for the command line)";
    return "The secret store failed: " + why;
}

void LotwCredentials::Load(Done done) {
    auto shared = std::make_shared<Done>(std::move(done));
    store_.Read(kLoginKey, [this, shared](SecretAnswer login) {
        if (login.status != SecretAnswer::Status::Ok && login.status != SecretAnswer::Status::Missing) {
            (*shared)(CredentialsAnswer{false, {}, SecretStoreProblem(login)});
            return;
        }
        store_.Read(kPasswordKey, [shared, login = std::move(login.value)](SecretAnswer password) {
            if (password.status != SecretAnswer::Status::Ok && password.status != SecretAnswer::Status::Missing) {
                (*shared)(CredentialsAnswer{false, {}, SecretStoreProblem(password)});
                return;
            }
            (*shared)(CredentialsAnswer{true, LotwLogin{login, std::move(password.value)}, {}});
        });
    });
}

void LotwCredentials::Save(LotwLogin credentials, Done done) {
    auto shared = std::make_shared<Done>(std::move(done));
    store_.Write(kLoginKey, credentials.login, [this, shared, credentials](SecretAnswer login) {
        if (login.status != SecretAnswer::Status::Ok) {
            (*shared)(CredentialsAnswer{false, {}, SecretStoreProblem(login)});
            return;
        }
        store_.Write(kPasswordKey, credentials.password, [shared, credentials](SecretAnswer password) {
            if (password.status != SecretAnswer::Status::Ok) {
                (*shared)(CredentialsAnswer{false, {}, SecretStoreProblem(password)});
                return;
            }
            (*shared)(CredentialsAnswer{true, credentials, {}});
        });
    });
}

std::optional<LotwLogin> LotwLoginFromEnvironment() {
    const char* login = std::getenv("VANTREL_LOTW_LOGIN");
    const char* password = std::getenv("VANTREL_LOTW_PASSWORD");
    if (!login || !*login || !password || !*password) return std::nullopt;
    return LotwLogin{login, password};
}

}  // namespace vantrel
