#include "tools/kz_daemon/Adapter.h"

#include <string>
#include <vector>

int main(int argc, char** argv)
{
    return kz::adapter::RunAdapter(std::vector<std::string>(argv + 1, argv + argc));
}
