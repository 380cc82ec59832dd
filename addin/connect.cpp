#include "connect.h"

#include <exception>

namespace brellin {

void Connect::WarnWhenRemote() {
    bool remote = true;  // a test that fails warns as well
    try {
        remote = ModBrellin::TestInstallLocation(platform_.drives, platform_.installFolder.InstallFolder()).Remote();
    } catch (const std::exception&) {
    }
    if (!remote) return;
    try {
        platform_.messages.Show(ModBrellin::kNetworkDriveMessage);
    } catch (const std::exception&) {
    }
}

void Connect::AddinInstance_OnConnection(host::ConnectingApplication& Application, std::int32_t,
                                         host::AddInInstance& AddInInst) {
    WarnWhenRemote();

    std::int32_t explorers = 0, inspectors = 0;
    try {
        // Both counts are read, in this order, whatever the first one says.
        explorers = Application.ExplorersCount();
        inspectors = Application.InspectorsCount();
    } catch (const std::exception&) {
        return;
    }
    // Without any window there is nothing to follow until the next connection.
    if (explorers == 0 && inspectors == 0) return;

    try {
        const std::string progId = AddInInst.ProgId();
        auto outlook = Application.OutlookApplication();
        if (!clBrellin_) clBrellin_ = std::make_unique<ClBrellin>(platform_, dialog_, choice_);
        // A partial attach keeps what it took before the failing step.
        clBrellin_->AttachOutlook(std::move(outlook), progId);
    } catch (const std::exception&) {
    }
}

void Connect::AddinInstance_OnDisconnection(std::int32_t) {
    if (clBrellin_) {
        try {
            clBrellin_->DetachOutlook();
        } catch (const std::exception&) {
        }
    }
    clBrellin_.reset();
}

}  // namespace brellin
