#pragma once
// Hands a service request from the instrument library's thread to the engine's thread and waits
// until the engine has handled it (the "sent" message of the service request). A relay is given to
// the bindings as their reference data, so it lives until the process ends; an engine that goes
// away detaches from it, after which a late request is dropped.

#include <QObject>
#include <QPointer>

#include <atomic>
#include <functional>

#include "instrument/SrqSink.h"

class SweepStepObserver;

class ServiceRequestRelay final : public QObject, public instrument::SrqSink {
public:
    // A relay living on the calling thread that calls deliver while receiver exists.
    static ServiceRequestRelay* Create(QObject* receiver, std::function<void(int)> deliver);

    // Engine's thread only.
    void Detach();
    void SetObserver(SweepStepObserver* observer) { m_observer = observer; }

    // Library thread: blocks until the engine's thread has handled the request.
    void OnServiceRequest(int statusByte) override;

private:
    ServiceRequestRelay(QObject* receiver, std::function<void(int)> deliver);
    void Deliver(int statusByte);

    QPointer<QObject> m_receiver;
    std::function<void(int)> m_deliver;
    std::atomic<SweepStepObserver*> m_observer{nullptr};
};
