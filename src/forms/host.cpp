#include "forms/host.h"

#include "forms/form_link.h"

namespace qm {

void Host::runInBackground(std::function<void()> work, std::function<void()> done) {
    work();
    done();
}

void Host::showFromOutside(Form& form) {
    bringFormBack(form);
    setForeground(form);
}

}  // namespace qm
