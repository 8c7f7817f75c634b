#include "analyzer/engine/ServiceRequestRelay.h"

#include <QThread>

#include <memory>
#include <vector>

#include "analyzer/engine/SweepStepObserver.h"

ServiceRequestRelay* ServiceRequestRelay::Create(QObject* receiver, std::function<void(int)> deliver)
{
    // Never freed: a library thread may still hold a relay's address after its engine has gone.
    static auto* const relays = new std::vector<std::unique_ptr<ServiceRequestRelay>>();
    relays->push_back(std::unique_ptr<ServiceRequestRelay>(new ServiceRequestRelay(receiver, std::move(deliver))));
    return relays->back().get();
}

ServiceRequestRelay::ServiceRequestRelay(QObject* receiver, std::function<void(int)> deliver)
    : m_receiver(receiver), m_deliver(std::move(deliver))
{
}

void ServiceRequestRelay::Detach()
{
    m_receiver = nullptr;
    m_deliver = nullptr;
    m_observer = nullptr;
}

void ServiceRequestRelay::OnServiceRequest(int statusByte)
{
    if (SweepStepObserver* observer = m_observer.load(std::memory_order_acquire))
        observer->OnServiceRequestArrived();
    if (QThread::currentThread() == thread()) {
        Deliver(statusByte);
        return;
    }
    QMetaObject::invokeMethod(this, [this, statusByte] { Deliver(statusByte); }, Qt::BlockingQueuedConnection);
}

void ServiceRequestRelay::Deliver(int statusByte)
{
    if (m_receiver && m_deliver)
        m_deliver(statusByte);
}
