#include "RegistryStore.h"

namespace morvin::reg {

Status readWholeValue(RegistryStore& store, Key key, const std::string& name, std::uint32_t* type,
                      std::string* data) {
  std::uint32_t size = 0;
  Status status = store.queryValue(key, name, type, nullptr, &size);
  while (status == err::Success) {
    data->resize(size);
    status = store.queryValue(key, name, type, reinterpret_cast<std::uint8_t*>(data->data()), &size);
    if (status == err::Success) data->resize(size);
    if (status != err::MoreData) break;
    status = err::Success;  // it grew meanwhile: `size` is what it needs now
  }
  return status;
}

}  // namespace morvin::reg
