#include "platform/com/dispatch.h"

namespace com {

const IID IID_IDispatch = GuidLiteral("{00020400-0000-0000-C000-000000000046}");
const IID IID_ISupportErrorInfo = GuidLiteral("{DF0B3D60-548F-101B-8E65-08002B2BD119}");
const IID IID_IClassFactory = GuidLiteral("{00000001-0000-0000-C000-000000000046}");

Variant DispatchVariant(ComPtr<IDispatch> object)
{
    return Variant::Object(ComPtr<IUnknown>(object), true);
}

ComPtr<IDispatch> DispatchOf(const Variant& value)
{
    const Variant& v = value.deref();
    ComPtr<IUnknown> object = v.object();
    if (!object) return {};
    // An object stored as VT_DISPATCH is the IDispatch itself, seen as IUnknown.
    if ((v.type() & 0xFFF) == VT_DISPATCH) return ComPtr<IDispatch>(static_cast<IDispatch*>(object.get()));
    return object.query<IDispatch>(IID_IDispatch);
}

} // namespace com
