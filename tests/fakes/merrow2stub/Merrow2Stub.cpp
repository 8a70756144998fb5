// Only "CallCRTWVD", which counts its calls and keeps the request it was
// given, so a test can see what the designer passed.

namespace {
int g_calls = 0;
void* g_lastRequest = nullptr;
} // namespace

extern "C" __attribute__((visibility("default"))) int CallCRTWVD(void* request)
{
    ++g_calls;
    g_lastRequest = request;
    return 1;
}

extern "C" __attribute__((visibility("default"))) int Merrow2StubCallCount()
{
    return g_calls;
}

extern "C" __attribute__((visibility("default"))) void* Merrow2StubLastRequest()
{
    return g_lastRequest;
}
