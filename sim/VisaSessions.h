#pragma once
// The simulated VISA side: resource managers, the analyzer's USB instrument sessions, find lists,
// attributes, locks, service-request handlers. Callers hold the simulator's lock; operations that
// wait take it as a unique_lock and release it while they wait.

#include "sim/SimInstrument.h"

#include <cstdint>
#include <map>
#include <mutex>
#include <optional>
#include <utility>
#include <vector>

namespace talsim {

class Simulator;

extern "C" {
typedef std::int32_t (*VisaHandler)(std::uint32_t vi, std::uint32_t eventType, std::uint32_t event, void* userHandle);
}

class VisaSessions {
public:
    using Lock = std::unique_lock<std::mutex>;

    explicit VisaSessions(Simulator& simulator) : sim_(simulator) {}
    VisaSessions(const VisaSessions&) = delete;
    VisaSessions& operator=(const VisaSessions&) = delete;

    std::int32_t OpenDefaultRM(std::uint32_t* rm);
    std::int32_t FindResources(std::uint32_t rm, const char* expression, std::uint32_t* findList,
                               std::uint32_t* count, char* description);
    std::int32_t Open(std::uint32_t rm, const char* name, std::uint32_t mode, std::uint32_t* vi);
    std::int32_t Close(Lock& lock, std::uint32_t object);
    std::int32_t SetAttribute(std::uint32_t object, std::uint32_t attribute, std::uint64_t value);
    // Writes the value as 32 bits (every simulated attribute is a 32-bit one).
    std::int32_t GetAttribute(std::uint32_t object, std::uint32_t attribute, void* value);
    std::int32_t SetBuffer(std::uint32_t vi, std::uint16_t mask);
    std::int32_t Write(std::uint32_t vi, const unsigned char* buffer, std::uint32_t count, std::uint32_t* written);
    std::int32_t Read(Lock& lock, std::uint32_t vi, unsigned char* buffer, std::uint32_t count, std::uint32_t* read);
    std::int32_t ReadStatusByte(std::uint32_t vi, std::uint16_t* status);
    std::int32_t Clear(std::uint32_t vi);
    std::int32_t LockSession(Lock& lock, std::uint32_t vi, std::uint32_t type, std::uint32_t timeout,
                             const char* requestedKey, char* accessKey);
    std::int32_t Unlock(std::uint32_t vi);
    // With callbacks=inline a request owed at enabling is delivered here, on the caller's thread.
    std::int32_t EnableEvent(Lock& lock, std::uint32_t vi, std::uint32_t type, std::uint16_t mechanism);
    std::int32_t DisableEvent(Lock& lock, std::uint32_t vi, std::uint32_t type, std::uint16_t mechanism);
    std::int32_t InstallHandler(std::uint32_t vi, std::uint32_t type, VisaHandler handler, void* userHandle);
    std::int32_t UninstallHandler(Lock& lock, std::uint32_t vi, std::uint32_t type, VisaHandler handler,
                                  void* userHandle);

    // The analyzer was replaced by a fresh one: its request count starts again.
    void AnalyzerReplaced();

    // Event thread: a session with its service-request event enabled and a handler installed gets
    // each request of the analyzer once, while the request is pending. A delivery handed out counts
    // as running until FinishEvent; Invoke calls its handlers without the lock.
    struct Delivery {
        std::uint32_t vi = 0;
        std::uint32_t event = 0;
        std::vector<std::pair<VisaHandler, void*>> handlers;
    };
    std::optional<Delivery> TakeEvent();
    static void Invoke(const Delivery& delivery);
    void FinishEvent(const Delivery& delivery);
    bool EventReady() const;

private:
    enum class Kind { ResourceManager, Instrument, FindList };
    struct Session {
        Kind kind = Kind::ResourceManager;
        std::uint32_t parent = 0;
        std::map<std::uint32_t, std::uint64_t> attributes;
        std::uint32_t timeoutMs = 2000;
        std::vector<std::pair<VisaHandler, void*>> handlers;
        bool serviceRequestEnabled = false;
        std::uint64_t requestsDelivered = 0;
    };

    Session* Find(std::uint32_t object, std::optional<Kind> kind = std::nullopt);
    // Whether the session is owed the analyzer's current service request.
    static bool Owed(const Session& session, const SimInstrument& analyzer);
    std::uint32_t Add(Session session);
    // The analyzer behind an instrument session, or the status that forbids using it.
    std::int32_t Usable(std::uint32_t vi, Session*& session, SimInstrument*& instrument);
    void WaitForNothing(Lock& lock, std::uint32_t timeoutMs);
    std::optional<Delivery> Take(std::uint32_t vi, Session& session);
    // With disarm=wait: waits while a handler of the session runs on another thread; false (and a
    // note on stderr) when it still runs after a limit, where a library would wait for ever.
    bool WaitForHandlers(Lock& lock, std::uint32_t vi);

    Simulator& sim_;
    std::map<std::uint32_t, Session> sessions_;
    std::uint32_t nextHandle_ = 1;
    std::uint32_t nextEvent_ = 1;
    std::uint32_t lockOwner_ = 0;
    int lockCount_ = 0;
    std::map<std::uint32_t, int> running_;  // deliveries handed out and not finished, by session
};

} // namespace talsim
