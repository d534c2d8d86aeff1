// The fake-connection host harness.
#include "host/support/hostfixture.h"

#include "model/random.h"

namespace euchre::testing {

HostFixture::HostFixture() {
    rng::restart(7);
    server.setBotSpeed(1);
}

int HostFixture::connect() {
    auto fake = std::make_unique<FakeLink>();
    FakeLink* raw = fake.get();
    const int slot = server.admit(std::move(fake));
    if (slot >= 1 && slot <= 10) link[slot] = raw;
    return slot;
}

int HostFixture::join(const QByteArray& name) {
    const int slot = connect();
    if (slot > 9) return slot;
    say(slot, "CMD_logininfo+" + QByteArray::number(slot) + "+1.0.6+" + name);
    drain();
    return slot;
}

void HostFixture::say(int slot, const QByteArray& message) {
    link[slot]->peerSays(message + kTerminator);
}

void HostFixture::drain() {
    for (int guard = 0; guard < 100000 && server.queuedCount() > 0; ++guard)
        server.socktimerTimer();
}

void HostFixture::ticks(int n) {
    for (int i = 0; i < n; ++i) server.ctimerTimer();
}

void HostFixture::fire() {
    for (int guard = 0; guard < 100 && server.ctimer.isActive(); ++guard) server.ctimerTimer();
}

void HostFixture::clearSent() {
    for (FakeLink* l : link)
        if (l) l->sent.clear();
}

void HostFixture::fourPlayersStart(int playto) {
    join("Ann");
    join("Bob");
    join("Cat");
    join("Dan");
    say(1, "CMD_startgame+Ann+" + QByteArray::number(playto) + "+");
    drain();
}

void HostFixture::setHands(const std::array<std::array<int, 5>, 4>& hands) {
    for (int seat = 1; seat <= 4; ++seat)
        for (int pos = 1; pos <= 5; ++pos) table().hand[seat][pos] = hands[seat - 1][pos - 1];
}

QByteArray msg(const char* text) {
    return QByteArray(text);
}

} // namespace euchre::testing
