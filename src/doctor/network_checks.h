#pragma once

#include <cstdint>
#include <vector>

#include "doctor/doctor_check.h"
#include "doctor/local_subnets.h"

namespace vantrel {

// The network printer: its address resolves, its port accepts a connection, it answers a
// status question (and how fast), and whether discovery can reach it. Every step together
// stays within the request's time-out.
DoctorReport CheckNetwork(const DoctorRequest& request);

// Whether discovery reaches `address` (host byte order) from one of `subnets`; an address on
// no local subnet is fine for TCP through a router, so the check passes with a hint.
DoctorCheck CheckSubnet(std::uint32_t address, const std::vector<LocalSubnet>& subnets);

}  // namespace vantrel
