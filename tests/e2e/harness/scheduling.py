"""How a parallel run (pytest-xdist) deals the tests out to its workers.

xdist's own load scheduling hands every worker a run of consecutive tests at the start and tops
its queue up in runs later. A test here takes from one second to a minute and a half, so a
worker can end up with several of the long ones queued while the others run dry, and nothing
takes a queued test back. This scheduler keeps every worker's queue at two, the one it runs and
the next (xdist's workers need to know the next test before they run one): a worker that is done
takes the next pending test, and the long tests, collected first, go to different workers.
"""

from __future__ import annotations

from xdist.scheduler import LoadScheduling

# The test a worker runs and the one after it, which it must have before it starts the first.
QUEUE = 2


class OneAtATime(LoadScheduling):
    def schedule(self) -> None:
        assert self.collection_is_completed
        if self.collection is not None:
            # Called again when a node was added: nothing new to plan, just fill the queues.
            for node in self.nodes:
                self.check_schedule(node)
            return
        if not self._check_nodes_have_same_collection():
            self.log("**Different tests collected, aborting run**")
            return
        self.collection = list(self.node2collection.values())[0]
        self.pending[:] = range(len(self.collection))
        # Round by round, so that the first tests (the long ones) go one to each worker.
        for _ in range(QUEUE):
            for node in self.nodes:
                self._send_tests(node, 1)
        if not self.pending:
            for node in self.nodes:
                node.shutdown()

    def check_schedule(self, node, duration: float = 0) -> None:
        if node.shutting_down:
            return
        if self.pending:
            missing = QUEUE - len(self.node2pending[node])
            if missing > 0:
                self._send_tests(node, missing)
        else:
            node.shutdown()
