#include "reader/reader_transport.h"

#include "reader/hid_transport.h"
#include "reader/simulated_reader.h"

#include <QtGlobal>

namespace stokara::reader {

bool simulatedReaderRequested() {
    return qEnvironmentVariable("STOKARA_READER")
               .trimmed()
               .compare(QLatin1String("simulated"), Qt::CaseInsensitive) == 0;
}

std::unique_ptr<ReaderTransport> makeReaderTransport() {
    if (simulatedReaderRequested()) {
        return std::make_unique<SimulatedTransport>(SimulatedReaderModule::shared());
    }
    return std::make_unique<HidTransport>();
}

} // namespace stokara::reader
