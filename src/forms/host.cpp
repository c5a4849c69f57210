#include "forms/host.h"

#include "forms/form_link.h"

namespace qm {

void Host::showFromOutside(Form& form) {
    bringFormBack(form);
    setForeground(form);
}

}  // namespace qm
