#include "sim/VisaSessions.h"

#include "sim/Simulator.h"
#include "sim/VisaCodes.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstring>
#include <string>

namespace talsim {

using namespace visa;

namespace {

constexpr std::size_t kMaxExpression = 256;
constexpr std::uint32_t kMaxTransfer = 1u << 20;
// How long a waiting disarm waits for a running handler before it gives up and says so.
constexpr auto kDisarmWaitLimit = std::chrono::seconds(5);

// The session whose handlers this thread is running (0: none).
thread_local std::uint32_t runningHere = 0;

std::string Lower(const char* text)
{
    std::string out;
    for (const char* p = text; *p && out.size() <= kMaxExpression; ++p)
        out.push_back(static_cast<char>(std::tolower(static_cast<unsigned char>(*p))));
    return out;
}

// One token of a VISA resource expression: '?' (any character), a [list] or a literal.
struct ExpressionToken {
    bool any = false;
    std::string set;      // characters of a [list]; empty for '?' and literals
    char literal = 0;
    bool repeat = false;  // followed by '*' (zero or more) or '+' (one or more)
    bool atLeastOne = false;

    bool Matches(char ch) const
    {
        if (any)
            return true;
        const char lower = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
        if (!set.empty())
            return set.find(lower) != std::string::npos;
        return lower == literal;
    }
};

// Splits an expression into tokens; attribute conditions and alternatives are not simulated.
std::optional<std::vector<ExpressionToken>> ParseExpression(const std::string& expression)
{
    std::vector<ExpressionToken> tokens;
    for (std::size_t i = 0; i < expression.size(); ++i) {
        const char ch = expression[i];
        if (ch == '*' || ch == '+') {
            if (tokens.empty() || tokens.back().repeat)
                return std::nullopt;
            tokens.back().repeat = true;
            tokens.back().atLeastOne = ch == '+';
            continue;
        }
        if (ch == '{' || ch == '(' || ch == ')' || ch == '|')
            return std::nullopt;
        ExpressionToken token;
        if (ch == '?') {
            token.any = true;
        } else if (ch == '[') {
            const std::size_t close = expression.find(']', i + 1);
            if (close == std::string::npos || close == i + 1)
                return std::nullopt;
            token.set = Lower(expression.substr(i + 1, close - i - 1).c_str());
            i = close;
        } else {
            const char literal = (ch == '\\' && i + 1 < expression.size()) ? expression[++i] : ch;
            token.literal = static_cast<char>(std::tolower(static_cast<unsigned char>(literal)));
        }
        tokens.push_back(token);
    }
    return tokens;
}

// Matches the whole text; iterative over tokens with backtracking on repeats (texts are short).
bool MatchExpression(const std::vector<ExpressionToken>& tokens, std::size_t t, const std::string& text,
                     std::size_t pos)
{
    if (t == tokens.size())
        return pos == text.size();
    const ExpressionToken& token = tokens[t];
    if (!token.repeat)
        return pos < text.size() && token.Matches(text[pos]) && MatchExpression(tokens, t + 1, text, pos + 1);
    std::size_t end = pos;
    while (end < text.size() && token.Matches(text[end]))
        ++end;
    for (std::size_t stop = end + 1; stop-- > pos;) {
        if (token.atLeastOne && stop == pos)
            break;
        if (MatchExpression(tokens, t + 1, text, stop))
            return true;
    }
    return false;
}

} // namespace

VisaSessions::Session* VisaSessions::Find(std::uint32_t object, std::optional<Kind> kind)
{
    const auto it = sessions_.find(object);
    if (it == sessions_.end() || (kind && it->second.kind != *kind))
        return nullptr;
    return &it->second;
}

std::uint32_t VisaSessions::Add(Session session)
{
    const std::uint32_t handle = nextHandle_++;
    sessions_.emplace(handle, std::move(session));
    return handle;
}

std::int32_t VisaSessions::Usable(std::uint32_t vi, Session*& session, SimInstrument*& instrument)
{
    session = Find(vi, Kind::Instrument);
    if (!session)
        return VI_ERROR_INV_OBJECT;
    if (lockOwner_ != 0 && lockOwner_ != vi)
        return VI_ERROR_RSRC_LOCKED;
    instrument = &sim_.Analyzer();
    if (!instrument->Present())
        return VI_ERROR_CONN_LOST;
    return VI_SUCCESS;
}

std::int32_t VisaSessions::OpenDefaultRM(std::uint32_t* rm)
{
    if (!rm)
        return VI_ERROR_USER_BUF;
    *rm = Add(Session());
    return VI_SUCCESS;
}

std::int32_t VisaSessions::FindResources(std::uint32_t rm, const char* expression, std::uint32_t* findList,
                                         std::uint32_t* count, char* description)
{
    if (count)
        *count = 0;
    if (!Find(rm, Kind::ResourceManager))
        return VI_ERROR_INV_OBJECT;
    if (!expression || std::strlen(expression) > kMaxExpression)
        return VI_ERROR_INV_EXPR;
    const auto tokens = ParseExpression(expression);
    if (!tokens)
        return VI_ERROR_INV_EXPR;
    std::vector<std::string> found;
    const SimInstrument& analyzer = sim_.Analyzer();
    if (analyzer.UsbCapable() && analyzer.Present()) {
        const std::string resource = sim_.config.UsbResource();
        if (MatchExpression(*tokens, 0, resource, 0))
            found.push_back(resource);
    }
    if (found.empty())
        return VI_ERROR_RSRC_NFOUND;
    Session list;
    list.kind = Kind::FindList;
    list.parent = rm;
    const std::uint32_t handle = Add(std::move(list));
    if (findList)
        *findList = handle;
    if (count)
        *count = static_cast<std::uint32_t>(found.size());
    if (description) {
        const std::size_t n = std::min<std::size_t>(found.front().size(), 255);
        std::memcpy(description, found.front().data(), n);
        description[n] = '\0';
    }
    return VI_SUCCESS;
}

std::int32_t VisaSessions::Open(std::uint32_t rm, const char* name, std::uint32_t mode, std::uint32_t* vi)
{
    if (vi)
        *vi = 0;
    if (!Find(rm, Kind::ResourceManager))
        return VI_ERROR_INV_OBJECT;
    if (!name)
        return VI_ERROR_INV_RSRC_NAME;
    if (!vi)
        return VI_ERROR_USER_BUF;
    SimInstrument& analyzer = sim_.Analyzer();
    if (!analyzer.UsbCapable() || !analyzer.Present() || Lower(name) != Lower(sim_.config.UsbResource().c_str()))
        return VI_ERROR_RSRC_NFOUND;
    const bool exclusive = (mode & VI_EXCLUSIVE_LOCK) != 0;
    if (exclusive && lockOwner_ != 0)
        return VI_ERROR_RSRC_LOCKED;
    Session session;
    session.kind = Kind::Instrument;
    session.parent = rm;
    session.requestsDelivered = analyzer.ServiceRequests();
    *vi = Add(std::move(session));
    if (exclusive) {
        lockOwner_ = *vi;
        lockCount_ = 1;
    }
    return VI_SUCCESS;
}

bool VisaSessions::WaitForHandlers(Lock& lock, std::uint32_t vi)
{
    const auto runningElsewhere = [&] {
        const auto it = running_.find(vi);
        return it != running_.end() && it->second > (runningHere == vi ? 1 : 0);
    };
    const Clock::time_point deadline = Clock::now() + kDisarmWaitLimit;
    while (sim_.config.disarmWaits && runningElsewhere()) {
        if (Clock::now() >= deadline) {
            std::fprintf(stderr, "talvern-sim: disarming session %u waited %lld s for its running handler; "
                                 "a library would wait for ever\n",
                         vi, static_cast<long long>(kDisarmWaitLimit.count()));
            return false;
        }
        sim_.WaitForChange(lock, deadline);
    }
    return true;
}

std::int32_t VisaSessions::Close(Lock& lock, std::uint32_t object)
{
    if (object == 0)
        return VI_WARN_NULL_OBJECT;
    Session* session = Find(object);
    if (!session)
        return VI_ERROR_INV_OBJECT;
    // Closing a resource manager closes everything opened through it.
    std::vector<std::uint32_t> closing{object};
    if (session->kind == Kind::ResourceManager)
        for (const auto& [handle, s] : sessions_)
            if (s.parent == object)
                closing.push_back(handle);
    for (std::uint32_t handle : closing)
        if (!WaitForHandlers(lock, handle))
            return VI_ERROR_TMO;
    for (std::uint32_t handle : closing) {
        if (lockOwner_ == handle) {
            lockOwner_ = 0;
            lockCount_ = 0;
        }
        sessions_.erase(handle);
    }
    sim_.Changed();
    return VI_SUCCESS;
}

std::int32_t VisaSessions::SetAttribute(std::uint32_t object, std::uint32_t attribute, std::uint64_t value)
{
    Session* session = Find(object);
    if (!session)
        return VI_ERROR_INV_OBJECT;
    if (attribute == VI_ATTR_TMO_VALUE)
        session->timeoutMs = static_cast<std::uint32_t>(std::min<std::uint64_t>(value, VI_TMO_INFINITE));
    session->attributes[attribute] = value;
    return VI_SUCCESS;
}

std::int32_t VisaSessions::GetAttribute(std::uint32_t object, std::uint32_t attribute, void* value)
{
    Session* session = Find(object);
    if (!session)
        return VI_ERROR_INV_OBJECT;
    if (!value)
        return VI_ERROR_USER_BUF;
    std::uint32_t result = 0;
    if (attribute == VI_ATTR_TMO_VALUE)
        result = session->timeoutMs;
    else if (const auto it = session->attributes.find(attribute); it != session->attributes.end())
        result = static_cast<std::uint32_t>(it->second);
    std::memcpy(value, &result, sizeof result);
    return VI_SUCCESS;
}

std::int32_t VisaSessions::SetBuffer(std::uint32_t vi, std::uint16_t mask)
{
    if (!Find(vi, Kind::Instrument))
        return VI_ERROR_INV_OBJECT;
    // Read, write and the two low-level buffers (bits 0-1 and 4-5).
    if (mask == 0 || (mask & ~0x33))
        return VI_ERROR_INV_MASK;
    return VI_SUCCESS;
}

std::int32_t VisaSessions::Write(std::uint32_t vi, const unsigned char* buffer, std::uint32_t count,
                                 std::uint32_t* written)
{
    if (written)
        *written = 0;
    Session* session = nullptr;
    SimInstrument* instrument = nullptr;
    if (const std::int32_t status = Usable(vi, session, instrument); status != VI_SUCCESS)
        return status;
    if (!buffer && count > 0)
        return VI_ERROR_USER_BUF;
    if (count > kMaxTransfer)
        return VI_ERROR_INV_LENGTH;
    if (!instrument->AcceptsMessage())
        return VI_ERROR_CONN_LOST;
    if (count > 0) {
        instrument->Write(std::string_view(reinterpret_cast<const char*>(buffer), count), Clock::now());
        sim_.Changed();
    }
    if (written)
        *written = count;
    return VI_SUCCESS;
}

void VisaSessions::WaitForNothing(Lock& lock, std::uint32_t timeoutMs)
{
    const double limit = timeoutMs == VI_TMO_INFINITE ? 1000.0 : timeoutMs / 1000.0;
    const double seconds = limit * sim_.config.tmoFactor;
    if (seconds <= 0.0)
        return;
    const auto until = Clock::now() + std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(seconds));
    while (Clock::now() < until)
        sim_.WaitForChange(lock, until);
}

std::int32_t VisaSessions::Read(Lock& lock, std::uint32_t vi, unsigned char* buffer, std::uint32_t count,
                                std::uint32_t* read)
{
    if (read)
        *read = 0;
    Session* session = nullptr;
    SimInstrument* instrument = nullptr;
    if (const std::int32_t status = Usable(vi, session, instrument); status != VI_SUCCESS)
        return status;
    if (!buffer || count > kMaxTransfer)
        return buffer ? VI_ERROR_INV_LENGTH : VI_ERROR_USER_BUF;
    const std::uint32_t timeoutMs = session->timeoutMs;
    if (instrument->ReadsTimeOut()) {
        WaitForNothing(lock, timeoutMs);
        return VI_ERROR_TMO;
    }
    const Clock::time_point deadline = timeoutMs == VI_TMO_INFINITE
        ? Simulator::kNever : Clock::now() + std::chrono::milliseconds(timeoutMs);
    while (!instrument->HasOutput()) {
        if (!instrument->OutputPending()) {
            instrument->ReadWithoutQuery();
            sim_.Changed();
            WaitForNothing(lock, timeoutMs);
            return VI_ERROR_TMO;
        }
        if (Clock::now() >= deadline)
            return VI_ERROR_TMO;
        sim_.WaitForChange(lock, deadline);
        if (const std::int32_t status = Usable(vi, session, instrument); status != VI_SUCCESS)
            return status;
    }
    if (count == 0)
        return VI_SUCCESS_MAX_CNT;
    bool end = false;
    const std::size_t n = instrument->Read(reinterpret_cast<char*>(buffer), count, end);
    if (read)
        *read = static_cast<std::uint32_t>(n);
    sim_.Changed();
    return end ? VI_SUCCESS : VI_SUCCESS_MAX_CNT;
}

std::int32_t VisaSessions::ReadStatusByte(std::uint32_t vi, std::uint16_t* status)
{
    Session* session = nullptr;
    SimInstrument* instrument = nullptr;
    if (const std::int32_t result = Usable(vi, session, instrument); result != VI_SUCCESS)
        return result;
    if (!status)
        return VI_ERROR_USER_BUF;
    *status = instrument->SerialPoll();
    sim_.Changed();
    return VI_SUCCESS;
}

std::int32_t VisaSessions::Clear(std::uint32_t vi)
{
    Session* session = nullptr;
    SimInstrument* instrument = nullptr;
    if (const std::int32_t status = Usable(vi, session, instrument); status != VI_SUCCESS)
        return status;
    instrument->DeviceClear();
    sim_.Changed();
    return VI_SUCCESS;
}

std::int32_t VisaSessions::LockSession(Lock& lock, std::uint32_t vi, std::uint32_t type, std::uint32_t timeout,
                                       const char* requestedKey, char* accessKey)
{
    if (!Find(vi, Kind::Instrument))
        return VI_ERROR_INV_OBJECT;
    if (sim_.config.faults.lockTimeout)
        return VI_ERROR_TMO;
    if (type != VI_EXCLUSIVE_LOCK && type != VI_SHARED_LOCK)
        return VI_ERROR_INV_LOCK_TYPE;
    // Shared locks are kept as exclusive ones; the key handed back is the one asked for.
    if (type == VI_SHARED_LOCK && accessKey) {
        const std::string key = requestedKey ? std::string(requestedKey).substr(0, 255) : "talsim";
        std::memcpy(accessKey, key.c_str(), key.size() + 1);
    }
    if (lockOwner_ == vi) {
        ++lockCount_;
        return VI_SUCCESS_NESTED_EXCLUSIVE;
    }
    const Clock::time_point deadline = timeout == VI_TMO_INFINITE
        ? Simulator::kNever : Clock::now() + std::chrono::milliseconds(timeout);
    while (lockOwner_ != 0) {
        if (Clock::now() >= deadline)
            return VI_ERROR_RSRC_LOCKED;
        sim_.WaitForChange(lock, deadline);
        if (!Find(vi, Kind::Instrument))
            return VI_ERROR_INV_OBJECT;
    }
    lockOwner_ = vi;
    lockCount_ = 1;
    return VI_SUCCESS;
}

std::int32_t VisaSessions::Unlock(std::uint32_t vi)
{
    if (!Find(vi, Kind::Instrument))
        return VI_ERROR_INV_OBJECT;
    if (lockOwner_ != vi)
        return VI_ERROR_SESN_NLOCKED;
    if (--lockCount_ == 0) {
        lockOwner_ = 0;
        sim_.Changed();
    }
    return VI_SUCCESS;
}

std::int32_t VisaSessions::EnableEvent(Lock& lock, std::uint32_t vi, std::uint32_t type, std::uint16_t mechanism)
{
    Session* session = Find(vi, Kind::Instrument);
    if (!session)
        return VI_ERROR_INV_OBJECT;
    if (type != VI_EVENT_SERVICE_REQ)
        return VI_ERROR_INV_EVENT;
    if (mechanism != VI_HNDLR)
        return VI_ERROR_INV_MECH;
    if (session->handlers.empty())
        return VI_ERROR_HNDLR_NINSTALLED;
    if (session->serviceRequestEnabled)
        return VI_SUCCESS_EVENT_EN;
    session->serviceRequestEnabled = true;
    sim_.Changed();
    // Handlers never run inline inside their own inline call.
    if (sim_.config.callbacks == CallbackThreads::Inline && runningHere == 0) {
        if (const auto delivery = Take(vi, *session)) {
            sim_.Unlock(lock);
            Invoke(*delivery);
            lock.lock();
            FinishEvent(*delivery);
        }
    }
    return VI_SUCCESS;
}

std::int32_t VisaSessions::DisableEvent(Lock& lock, std::uint32_t vi, std::uint32_t type, std::uint16_t mechanism)
{
    if (!Find(vi, Kind::Instrument))
        return VI_ERROR_INV_OBJECT;
    if (type != VI_EVENT_SERVICE_REQ && type != VI_ALL_ENABLED_EVENTS)
        return VI_ERROR_INV_EVENT;
    if (mechanism != VI_HNDLR && mechanism != VI_ALL_MECH)
        return VI_ERROR_INV_MECH;
    if (!WaitForHandlers(lock, vi))
        return VI_ERROR_TMO;
    Session* session = Find(vi, Kind::Instrument);
    if (!session)
        return VI_ERROR_INV_OBJECT;
    if (!session->serviceRequestEnabled)
        return VI_SUCCESS_EVENT_DIS;
    session->serviceRequestEnabled = false;
    return VI_SUCCESS;
}

std::int32_t VisaSessions::InstallHandler(std::uint32_t vi, std::uint32_t type, VisaHandler handler,
                                          void* userHandle)
{
    Session* session = Find(vi, Kind::Instrument);
    if (!session)
        return VI_ERROR_INV_OBJECT;
    if (type != VI_EVENT_SERVICE_REQ)
        return VI_ERROR_INV_EVENT;
    if (!handler)
        return VI_ERROR_INV_HNDLR_REF;
    session->handlers.emplace_back(handler, userHandle);
    sim_.Changed();
    return VI_SUCCESS;
}

std::int32_t VisaSessions::UninstallHandler(Lock& lock, std::uint32_t vi, std::uint32_t type, VisaHandler handler,
                                            void* userHandle)
{
    if (!Find(vi, Kind::Instrument))
        return VI_ERROR_INV_OBJECT;
    if (type != VI_EVENT_SERVICE_REQ)
        return VI_ERROR_INV_EVENT;
    if (!WaitForHandlers(lock, vi))
        return VI_ERROR_TMO;
    Session* session = Find(vi, Kind::Instrument);
    if (!session)
        return VI_ERROR_INV_OBJECT;
    auto& handlers = session->handlers;
    const std::size_t before = handlers.size();
    // A null handler removes every handler of the event.
    handlers.erase(std::remove_if(handlers.begin(), handlers.end(),
                                  [&](const auto& h) { return !handler || (h.first == handler && h.second == userHandle); }),
                   handlers.end());
    return handlers.size() < before ? VI_SUCCESS : VI_ERROR_INV_HNDLR_REF;
}

void VisaSessions::AnalyzerReplaced()
{
    for (auto& [handle, session] : sessions_)
        session.requestsDelivered = 0;
}

bool VisaSessions::Owed(const Session& session, const SimInstrument& analyzer)
{
    return analyzer.Present() && analyzer.RequestingService() && session.kind == Kind::Instrument &&
           session.serviceRequestEnabled && !session.handlers.empty() &&
           session.requestsDelivered < analyzer.ServiceRequests();
}

std::optional<VisaSessions::Delivery> VisaSessions::Take(std::uint32_t vi, Session& session)
{
    const SimInstrument& analyzer = sim_.Analyzer();
    if (!Owed(session, analyzer))
        return std::nullopt;
    session.requestsDelivered = analyzer.ServiceRequests();
    ++running_[vi];
    return Delivery{vi, nextEvent_++, session.handlers};
}

std::optional<VisaSessions::Delivery> VisaSessions::TakeEvent()
{
    for (auto& [handle, session] : sessions_)
        if (auto delivery = Take(handle, session))
            return delivery;
    return std::nullopt;
}

void VisaSessions::Invoke(const Delivery& delivery)
{
    const std::uint32_t outer = runningHere;
    runningHere = delivery.vi;
    for (const auto& [handler, user] : delivery.handlers)
        handler(delivery.vi, visa::VI_EVENT_SERVICE_REQ, delivery.event, user);
    runningHere = outer;
}

void VisaSessions::FinishEvent(const Delivery& delivery)
{
    const auto running = running_.find(delivery.vi);
    if (running != running_.end() && --running->second <= 0)
        running_.erase(running);
    sim_.Changed();  // a disarm may be waiting for these handlers
}

bool VisaSessions::EventReady() const
{
    const SimInstrument& analyzer = sim_.Analyzer();
    for (const auto& [handle, session] : sessions_)
        if (Owed(session, analyzer))
            return true;
    return false;
}

} // namespace talsim
