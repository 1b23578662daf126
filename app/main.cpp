// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/tovikapp.h"

int main(int argc, char* argv[])
{
    tovik::TovikApp app(argc, argv);
    return app.InitInstance();
}
