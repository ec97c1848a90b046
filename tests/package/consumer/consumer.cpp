#include <qorkit/qorkit.h>

#include <cstdio>

int main() {
    const bool ok = qorkit::uc_LnFactorial[2] > 0.69 && qorkit::GetPackageInfoTable().size() == 6;
    std::printf("qorkit consumer %s %s\n", ok ? "ok" : "bad", QorkitVersion());
    return ok ? 0 : 1;
}
