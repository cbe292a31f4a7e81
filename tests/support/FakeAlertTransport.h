#pragma once

#include "alert/AlertTransport.h"

#include <deque>
#include <vector>

/// An alert server that answers only when the test says: every POST waits until answer().
class FakeAlertTransport : public AlertTransport
{
public:
    void post(const AlertRequest& request, std::function<void(const AlertOutcome&)> done) override
    {
        posted.push_back(request);
        m_waiting.push_back(std::move(done));
    }
    void cancel() override { m_waiting.clear(); }

    std::size_t waiting() const { return m_waiting.size(); }
    /// Answers the oldest waiting POST; false when none waits.
    bool answer(const AlertOutcome& outcome)
    {
        if (m_waiting.empty())
            return false;
        auto done = std::move(m_waiting.front());
        m_waiting.pop_front();
        done(outcome);
        return true;
    }
    /// Answers every POST, those that the answers bring included, as delivered; how many.
    int deliverAll()
    {
        int delivered = 0;
        while (answer(AlertOutcome{true, 200, {}}))
            ++delivered;
        return delivered;
    }

    std::vector<AlertRequest> posted; // every POST, in order
private:
    std::deque<std::function<void(const AlertOutcome&)>> m_waiting;
};
