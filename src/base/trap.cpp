#include "base/trap.h"

#include <stdexcept>

namespace qm {

AppError toAppError(std::exception_ptr failure) {
    try {
        std::rethrow_exception(failure);
    } catch (const AppError& e) {
        return e;
    } catch (const std::bad_alloc&) {
        return AppError(errOutOfMemory);
    } catch (const std::out_of_range&) {
        return AppError(errSubscript);
    } catch (const std::invalid_argument&) {
        return AppError(errInvalidCall);
    } catch (...) {
        return AppError(errInvalidCall);
    }
}

void Trap::report(std::exception_ptr failure) {
    const AppError e = toAppError(failure);
    sink_.logError(context(), e.number, e.description);
}

}  // namespace qm
