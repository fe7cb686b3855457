// A secret store held in memory, for tests: answers from the event loop as the desktop's does;
// `noStore` plays a desktop without one.
#pragma once

#include <QTimer>

#include <map>
#include <string>

#include "net/secret_store.h"

namespace vantrel::test {

class MemorySecretStore : public SecretStore {
public:
    void Read(const std::string& key, Done done) override {
        SecretAnswer answer = Refusal();
        if (answer.status == SecretAnswer::Status::Ok) {
            const auto it = values.find(key);
            if (it == values.end()) answer.status = SecretAnswer::Status::Missing;
            else answer.value = it->second;
        }
        Later(std::move(done), std::move(answer));
    }
    void Write(const std::string& key, const std::string& value, Done done) override {
        SecretAnswer answer = Refusal();
        if (answer.status == SecretAnswer::Status::Ok) values[key] = value;
        Later(std::move(done), std::move(answer));
    }

    std::map<std::string, std::string> values;
    bool noStore = false;

private:
    SecretAnswer Refusal() const {
        if (noStore) return {SecretAnswer::Status::NoStore, {}, "The name org.freedesktop.secrets was not provided"};
        return {SecretAnswer::Status::Ok, {}, {}};
    }
    static void Later(Done done, SecretAnswer answer) {
        QTimer::singleShot(0, [done = std::move(done), answer = std::move(answer)] { done(answer); });
    }
};

}  // namespace vantrel::test
