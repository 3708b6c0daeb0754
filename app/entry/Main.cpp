#include "app/Larkspur2006App.h"

CLarkspur2006App theApp;

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, LPWSTR, int showCmd) {
    return AfxWinMain(instance, showCmd);
}
